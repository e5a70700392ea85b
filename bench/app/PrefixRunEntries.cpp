#include "PrefixRunEntries.h"

#include "BenchSupport.h"

#include "host/Files.h"
#include "registry/StartupFolders.h"
#include "support/RegistrySandbox.h"

#include "launch/LinkBytes.h"

#include <windows.h>

#include <vector>

namespace qmbench {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kNamePrefix[] = L"QuillmoorBench ";

void RemoveOurs()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    // Collected first: deleting while enumerating shifts the indexes.
    std::vector<std::wstring> ours;
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring value(name.data(), length);
        if (value.rfind(kNamePrefix, 0) == 0)
            ours.push_back(value);
    }
    for (const std::wstring& value : ours)
        RegDeleteValueW(key, value.c_str());
    RegCloseKey(key);
}

} // namespace

PrefixRunEntries::PrefixRunEntries(int count)
{
    if (!UnderWine())
        return;
    RemoveOurs();
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    seeded_ = true;
    for (int i = 0; seeded_ && i < count; ++i) {
        const std::wstring name = kNamePrefix + std::to_wstring(100000 + i).substr(1);
        const std::wstring data = L"\"C:\\Program Files\\Bench Vendor\\program.exe\" /entry " + std::to_wstring(i);
        seeded_ = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                      static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

PrefixRunEntries::~PrefixRunEntries()
{
    if (UnderWine())
        RemoveOurs();
}

int PrefixRunEntries::ValuesInKey() const
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return static_cast<int>(values);
}

} // namespace qmbench

namespace qmbench {

namespace {

std::wstring ShortcutPath(const std::wstring& folder, int i)
{
    return folder + L"\\" + kNamePrefix + std::to_wstring(i) + L".lnk";
}

} // namespace

PrefixStartupShortcuts::PrefixStartupShortcuts(int perFolder) : perFolder_(perFolder)
{
    if (!UnderWine())
        return;
    folders_[0] = qm::StartupFolderPath(*qm::FindStartupKeyByName(L"startup-common"));
    folders_[1] = qm::StartupFolderPath(*qm::FindStartupKeyByName(L"startup-user"));
    seeded_ = !folders_[0].empty() && !folders_[1].empty();
    for (const std::wstring& folder : folders_) {
        for (int i = 0; seeded_ && i < perFolder; ++i) {
            const std::string target = "C:\\Program Files\\Bench Vendor\\tool" + std::to_string(i) + ".exe";
            seeded_ = qmtest::PutFile(ShortcutPath(folder, i), linkbytes::LocalLink(target, u"/tray"));
        }
    }
}

PrefixStartupShortcuts::~PrefixStartupShortcuts()
{
    for (const std::wstring& folder : folders_) {
        for (int i = 0; !folder.empty() && i < perFolder_; ++i)
            static_cast<void>(qm::DeleteFileAt(ShortcutPath(folder, i)));
    }
}

} // namespace qmbench
