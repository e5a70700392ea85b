#include "registry/StartupFolders.h"

#include "host/Handles.h"
#include "host/SystemFolders.h"
#include "host/SystemLibrary.h"
#include "registry/RegistryAccess.h"

#include <windows.h>
#include <shlobj.h>

namespace qm {

namespace {

struct Redirection {
    std::wstring user;
    std::wstring common;
};

Redirection& Redirected()
{
    static Redirection redirection;
    return redirection;
}

// Where the shell keeps the folder for itself: read first, since the shell's own library costs
// a start far more than one registry value does.
std::wstring RegisteredFolder(HKEY root, const wchar_t* name)
{
    const auto value = ReadValueRaw(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", name);
    if (!value || (value->type != REG_EXPAND_SZ && value->type != REG_SZ))
        return {};
    const std::wstring text = ValueDataAsText(*value);
    return text.empty() ? text : ExpandEnvironmentVariables(text);
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    const auto getFolderPath = SystemFunction<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    // SHGFP_TYPE_CURRENT without CSIDL_FLAG_CREATE: a folder nobody made is an empty source.
    if (!getFolderPath || FAILED(getFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

} // namespace

std::wstring StartupFolderPath(const StartupKey& source)
{
    if (!source.IsFolder())
        return {};
    const bool user = source.folder == StartupFolder::User;
    std::wstring path = user ? Redirected().user : Redirected().common;
    if (path.empty())
        path = user ? RegisteredFolder(HKEY_CURRENT_USER, L"Startup") : RegisteredFolder(HKEY_LOCAL_MACHINE, L"Common Startup");
    if (path.empty())
        path = ShellFolder(user ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP);
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring SourcePath(const StartupKey& source)
{
    return source.IsFolder() ? StartupFolderPath(source) : std::wstring(source.fullPath);
}

std::vector<std::wstring> StartupFolderFiles(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    if (folder.empty())
        return names;
    WIN32_FIND_DATAW data;
    const UniqueFind find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
        nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return names;
    constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (data.dwFileAttributes & kHiddenSystem) != kHiddenSystem)
            names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

void RedirectStartupFolders(const std::wstring& user, const std::wstring& common)
{
    Redirected() = {user, common};
}

} // namespace qm
