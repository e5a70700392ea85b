#include "backup/AnsiCodePage.h"

#include <windows.h>

#include <climits>

namespace qm {

std::optional<std::string> AnsiCodePage::Encode(const std::wstring& text) const
{
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    // Without WC_NO_BEST_FIT_CHARS "é" may quietly become "e"; the UTF-8 code page takes
    // neither that flag nor the default-character report, and the round trip below covers it.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), length, bytes.data(), size, nullptr, usedDefaultOut) != size
        || usedDefault) {
        return std::nullopt;
    }
    if (Decode(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

std::wstring AnsiCodePage::Decode(const std::string& bytes) const
{
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return std::wstring();
    }
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
    return text;
}

} // namespace qm
