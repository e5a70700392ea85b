#include "support/RegistrySandbox.h"

#include "host/Files.h"
#include "registry/StartupFolders.h"

#include <filesystem>

namespace qmtest {

namespace {

HKEY CreateScratch(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

RegistrySandbox::RegistrySandbox(const std::wstring& name, Roots roots)
    : path_(L"Software\\QuillmoorTests\\" + name)
{
    // Open every scratch key before HKCU itself is redirected.
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    if (roots == Roots::All)
        hklm_ = CreateScratch(path_ + L"\\HKLM");
    hkcu_ = CreateScratch(path_ + L"\\HKCU");
    hku_ = CreateScratch(path_ + L"\\HKU");
    if (hklm_)
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, hklm_);
    RegOverridePredefKey(HKEY_USERS, hku_);
    RegOverridePredefKey(HKEY_CURRENT_USER, hkcu_);

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folders_ = std::wstring(temp) + L"QuillmoorTests\\" + name;
    std::error_code ignored;
    std::filesystem::remove_all(folders_, ignored);
    userStartup_ = folders_ + L"\\User Startup";
    commonStartup_ = folders_ + L"\\Common Startup";
    qm::RedirectStartupFolders(userStartup_, commonStartup_);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_USERS, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    for (HKEY key : {hklm_, hkcu_, hku_}) {
        if (key)
            RegCloseKey(key);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    qm::RedirectStartupFolders({}, {});
    std::error_code ignored;
    std::filesystem::remove_all(folders_, ignored);
}

HKEY RegistrySandbox::Scratch(HKEY root) const
{
    if (root == HKEY_LOCAL_MACHINE)
        return hklm_;
    if (root == HKEY_CURRENT_USER)
        return hkcu_;
    if (root == HKEY_USERS)
        return hku_;
    return nullptr;
}

bool CreateKey(HKEY root, const std::wstring& subKey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SetValue(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SetString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& text, DWORD type)
{
    return SetValue(root, subKey, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool PutFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    return qm::CreateFolders(path.substr(0, path.find_last_of(L'\\'))) && qm::WriteWholeFile(path, bytes) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::wstring& subKey, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

} // namespace qmtest
