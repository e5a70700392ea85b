#pragma once

// The registry keys Windows starts programs from: the one table the windows, the command
// line, the registry layer and the backup validator share. Free of the platform headers, so
// that the backup format code builds and is fuzzed on any host.

#include "host/TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

// The view a key is opened in: the native one, or that of 32-bit programs (KEY_WOW64_32KEY).
inline constexpr std::uint32_t kNativeView = 0;
inline constexpr std::uint32_t kView32 = 0x0200;

inline constexpr std::uint32_t kLocalMachine = 0x80000002;
inline constexpr std::uint32_t kCurrentUser = 0x80000001;
inline constexpr std::uint32_t kUsers = 0x80000003;

// What kind of list a source is: Windows runs a Run list at every logon, a RunOnce list once
// (each value is deleted as it starts), a policy list as Group Policy wrote it, and every file
// of a Startup folder at every logon.
enum class StartupSource { Run, RunOnce, Policy, StartupFolder };

// Which Startup folder a folder source is: this user's or all users'.
enum class StartupFolder { None, User, Common };

// One key whose values Windows runs, or one Startup folder whose files it runs, and the key in
// which Task Manager and Settings keep their enabled state (StartupApproved), where it has one.
struct StartupKey {
    const wchar_t* name;     // as the command line names it
    std::uint32_t rootHandle; // the predefined root's 32-bit value (of the state's key, for a folder)
    const wchar_t* subKey;    // below the root, opened in view; empty for a folder
    std::uint32_t view;
    const wchar_t* fullPath; // as backups name it (the registry editor's spelling of the view); empty for a folder
    const wchar_t* approvedSubKey;   // below the same root, native view; nullptr when none
    const wchar_t* approvedFullPath; // as backups name it; nullptr when none
    StartupSource source = StartupSource::Run;
    // The grey word after an entry's name in the window; nullptr for a location's own Run key.
    const wchar_t* mark = nullptr;
    // The policy value (REG_DWORD 1 under Policies\Explorer, in HKLM or HKCU) that makes
    // Windows skip the whole list; nullptr when none does.
    const wchar_t* skippedBy = nullptr;
    StartupFolder folder = StartupFolder::None;

    bool Is32Bit() const { return view == kView32; }
    bool HasApprovedKey() const { return approvedSubKey != nullptr; }
    constexpr bool IsFolder() const { return folder != StartupFolder::None; }
};

#define QM_CURRENT_VERSION L"Software\\Microsoft\\Windows\\CurrentVersion"
#define QM_APPROVED QM_CURRENT_VERSION L"\\Explorer\\StartupApproved"
#define QM_WOW64 L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion"
#define QM_POLICY_RUN QM_CURRENT_VERSION L"\\Policies\\Explorer\\Run"

// Where the policies that switch whole lists off live, below HKLM and HKCU.
inline constexpr wchar_t kExplorerPolicies[] = QM_CURRENT_VERSION L"\\Policies\\Explorer";

inline constexpr std::array<StartupKey, 13> kStartupKeys = {{
    {L"hklm", kLocalMachine, QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_LOCAL_MACHINE\\" QM_CURRENT_VERSION L"\\Run", QM_APPROVED L"\\Run",
        L"HKEY_LOCAL_MACHINE\\" QM_APPROVED L"\\Run", StartupSource::Run, nullptr, L"DisableLocalMachineRun"},
    {L"hklm-services", kLocalMachine, QM_CURRENT_VERSION L"\\RunServices", kNativeView,
        L"HKEY_LOCAL_MACHINE\\" QM_CURRENT_VERSION L"\\RunServices", nullptr, nullptr},
    {L"hkcu", kCurrentUser, QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_CURRENT_USER\\" QM_CURRENT_VERSION L"\\Run", QM_APPROVED L"\\Run",
        L"HKEY_CURRENT_USER\\" QM_APPROVED L"\\Run", StartupSource::Run, nullptr, L"DisableCurrentUserRun"},
    {L"hku-default", kUsers, L".DEFAULT\\" QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_USERS\\.DEFAULT\\" QM_CURRENT_VERSION L"\\Run", nullptr, nullptr},
    {L"hklm32", kLocalMachine, QM_CURRENT_VERSION L"\\Run", kView32, L"HKEY_LOCAL_MACHINE\\" QM_WOW64 L"\\Run",
        QM_APPROVED L"\\Run32", L"HKEY_LOCAL_MACHINE\\" QM_APPROVED L"\\Run32", StartupSource::Run, L"32-bit",
        L"DisableLocalMachineRun"},
    {L"hklm-services32", kLocalMachine, QM_CURRENT_VERSION L"\\RunServices", kView32,
        L"HKEY_LOCAL_MACHINE\\" QM_WOW64 L"\\RunServices", nullptr, nullptr, StartupSource::Run, L"32-bit"},
    {L"hklm-runonce", kLocalMachine, QM_CURRENT_VERSION L"\\RunOnce", kNativeView,
        L"HKEY_LOCAL_MACHINE\\" QM_CURRENT_VERSION L"\\RunOnce", nullptr, nullptr, StartupSource::RunOnce, L"once",
        L"DisableLocalMachineRunOnce"},
    {L"hklm-runonce32", kLocalMachine, QM_CURRENT_VERSION L"\\RunOnce", kView32,
        L"HKEY_LOCAL_MACHINE\\" QM_WOW64 L"\\RunOnce", nullptr, nullptr, StartupSource::RunOnce, L"once, 32-bit",
        L"DisableLocalMachineRunOnce"},
    {L"hkcu-runonce", kCurrentUser, QM_CURRENT_VERSION L"\\RunOnce", kNativeView,
        L"HKEY_CURRENT_USER\\" QM_CURRENT_VERSION L"\\RunOnce", nullptr, nullptr, StartupSource::RunOnce, L"once",
        L"DisableCurrentUserRunOnce"},
    {L"hklm-policies", kLocalMachine, QM_POLICY_RUN, kNativeView, L"HKEY_LOCAL_MACHINE\\" QM_POLICY_RUN, nullptr,
        nullptr, StartupSource::Policy, L"policy"},
    {L"hkcu-policies", kCurrentUser, QM_POLICY_RUN, kNativeView, L"HKEY_CURRENT_USER\\" QM_POLICY_RUN, nullptr,
        nullptr, StartupSource::Policy, L"policy"},
    {L"startup-common", kLocalMachine, L"", kNativeView, L"", QM_APPROVED L"\\StartupFolder",
        L"HKEY_LOCAL_MACHINE\\" QM_APPROVED L"\\StartupFolder", StartupSource::StartupFolder, L"Startup folder", nullptr,
        StartupFolder::Common},
    {L"startup-user", kCurrentUser, L"", kNativeView, L"", QM_APPROVED L"\\StartupFolder",
        L"HKEY_CURRENT_USER\\" QM_APPROVED L"\\StartupFolder", StartupSource::StartupFolder, L"Startup folder", nullptr,
        StartupFolder::User},
}};

#undef QM_POLICY_RUN
#undef QM_WOW64
#undef QM_APPROVED
#undef QM_CURRENT_VERSION

// The four locations of the main window, numbered 1 to 4: each lists its own key first, then
// the other keys and the Startup folder Windows runs for the same users.
inline constexpr std::size_t kMostKeysOfALocation = 6;

struct StartupLocation {
    int number;
    // In listing order, the location's own key (where Add writes) first; nullptr after the last.
    std::array<const StartupKey*, kMostKeysOfALocation> keys;
    const wchar_t* optionCaption;
    const wchar_t* buttonCaption;

    constexpr const StartupKey& Native() const { return *keys[0]; }
};

inline constexpr int kLocationCount = 4;

inline constexpr std::array<StartupLocation, kLocationCount> kStartupLocations = {{
    {1, {&kStartupKeys[0], &kStartupKeys[4], &kStartupKeys[6], &kStartupKeys[7], &kStartupKeys[9], &kStartupKeys[11]},
        L"HKLM Run", L"&HKLM Run"},
    {2, {&kStartupKeys[1], &kStartupKeys[5]}, L"HKLM Run Services", L"HK&LM Services"},
    {3, {&kStartupKeys[2], &kStartupKeys[8], &kStartupKeys[10], &kStartupKeys[12]}, L"HKCU Run", L"H&KCU Run"},
    {4, {&kStartupKeys[3]}, L"HKU Run", L"HK&U Run"},
}};

inline const StartupLocation& Location(int number)
{
    return kStartupLocations[static_cast<std::size_t>(number - 1)];
}

// The location that lists a key.
constexpr const StartupLocation& LocationOf(const StartupKey& key)
{
    for (const StartupLocation& location : kStartupLocations) {
        for (const StartupKey* listed : location.keys) {
            if (listed == &key)
                return location;
        }
    }
    return kStartupLocations.front();
}

// The key whose full path this is, in any case of its ASCII letters, or nullptr; never a folder.
constexpr const StartupKey* FindStartupKey(std::wstring_view fullPath)
{
    for (const StartupKey& key : kStartupKeys) {
        if (!key.IsFolder() && EqualNoCase(key.fullPath, fullPath))
            return &key;
    }
    return nullptr;
}

// The key whose StartupApproved key has this full path, or nullptr.
constexpr const StartupKey* FindKeyByApprovedPath(std::wstring_view approvedFullPath)
{
    for (const StartupKey& key : kStartupKeys) {
        if (key.approvedFullPath && EqualNoCase(key.approvedFullPath, approvedFullPath))
            return &key;
    }
    return nullptr;
}

// The key the command line calls by this name, in any case as registry paths are, or nullptr.
constexpr const StartupKey* FindStartupKeyByName(std::wstring_view name)
{
    for (const StartupKey& key : kStartupKeys) {
        if (EqualNoCase(key.name, name))
            return &key;
    }
    return nullptr;
}

} // namespace qm
