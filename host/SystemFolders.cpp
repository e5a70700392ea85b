#include "host/SystemFolders.h"

#include "host/SystemLibrary.h"

#include <windows.h>
#include <shlobj.h>

namespace qm {

namespace {

std::wstring TrimBlanks(const std::wstring& text)
{
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::wstring WinDir()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const UINT n = GetWindowsDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (n == 0)
            return {};
        // A result at least the buffer's size is the size needed, terminator included.
        if (n < path.size()) {
            path.resize(n);
            return TrimBlanks(path);
        }
        path.resize(n);
    }
}

std::wstring GetSpecialFolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    const auto getFolderPath = SystemFunction<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    if (!getFolderPath || getFolderPath(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return path;
}

std::wstring ExpandEnvironmentVariables(const std::wstring& text)
{
    std::wstring out(text.size() + 1, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return text;
        // n counts the terminator, both when it fitted and when more room is needed.
        if (n <= out.size()) {
            out.resize(n - 1);
            return out;
        }
        out.resize(n);
    }
}

} // namespace qm
