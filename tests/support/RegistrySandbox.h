#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

// Redirects HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and HKEY_USERS of this process to scratch
// keys below HKCU\Software\QuillmoorTests\<name>, and both Startup folders to scratch folders
// (not made until a test makes them), so that no test can reach the machine's real startup
// entries. The scratch keys and folders are removed again when the sandbox ends.
class RegistrySandbox {
public:
    // Signature checks need the machine's own HKEY_LOCAL_MACHINE, where the system's trust
    // providers are registered: their tests redirect the user roots only, and must then not
    // write below HKEY_LOCAL_MACHINE.
    enum class Roots { All, UsersOnly };

    explicit RegistrySandbox(const std::wstring& name, Roots roots = Roots::All);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // The scratch key that stands in for a root, for tests that must look behind the override.
    HKEY Scratch(HKEY root) const;
    // Path of the scratch tree below the real HKEY_CURRENT_USER.
    const std::wstring& Path() const { return path_; }
    // The scratch folders that stand in for this user's and all users' Startup folders.
    const std::wstring& UserStartupFolder() const { return userStartup_; }
    const std::wstring& CommonStartupFolder() const { return commonStartup_; }

private:
    std::wstring path_;
    std::wstring folders_;
    std::wstring userStartup_;
    std::wstring commonStartup_;
    HKEY hklm_ = nullptr;
    HKEY hkcu_ = nullptr;
    HKEY hku_ = nullptr;
};

// Creates a key (and its parents) below a root as the code under test sees it.
bool CreateKey(HKEY root, const std::wstring& subKey);
// Writes a value of any type with raw bytes.
bool SetValue(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data, DWORD size);
bool SetString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);
// Writes a file with exactly these bytes, making its folder first; true when written.
bool PutFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

bool ValueExists(HKEY root, const std::wstring& subKey, const std::wstring& name);

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunServicesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr wchar_t kDefaultRunKey[] = L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace qmtest
