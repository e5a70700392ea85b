#include "backup/AnsiCodePage.h"

#include <windows.h>

#include <climits>

namespace qm {

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
