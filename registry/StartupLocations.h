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

// One key whose values Windows runs, and the key in which Task Manager and Settings keep
// their values' enabled state (StartupApproved), where it has one.
struct StartupKey {
    const wchar_t* name;     // as the command line names it
    std::uint32_t rootHandle; // the predefined root's 32-bit value
    const wchar_t* subKey;    // below the root, opened in view
    std::uint32_t view;
    const wchar_t* fullPath; // as backups name it (the registry editor's spelling of the view)
    const wchar_t* approvedSubKey;   // below the same root, native view; nullptr when none
    const wchar_t* approvedFullPath; // as backups name it; nullptr when none

    bool Is32Bit() const { return view == kView32; }
    bool HasApprovedKey() const { return approvedSubKey != nullptr; }
};

#define QM_CURRENT_VERSION L"Software\\Microsoft\\Windows\\CurrentVersion"
#define QM_APPROVED QM_CURRENT_VERSION L"\\Explorer\\StartupApproved"

inline constexpr std::array<StartupKey, 6> kStartupKeys = {{
    {L"hklm", kLocalMachine, QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_LOCAL_MACHINE\\" QM_CURRENT_VERSION L"\\Run", QM_APPROVED L"\\Run",
        L"HKEY_LOCAL_MACHINE\\" QM_APPROVED L"\\Run"},
    {L"hklm-services", kLocalMachine, QM_CURRENT_VERSION L"\\RunServices", kNativeView,
        L"HKEY_LOCAL_MACHINE\\" QM_CURRENT_VERSION L"\\RunServices", nullptr, nullptr},
    {L"hkcu", kCurrentUser, QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_CURRENT_USER\\" QM_CURRENT_VERSION L"\\Run", QM_APPROVED L"\\Run",
        L"HKEY_CURRENT_USER\\" QM_APPROVED L"\\Run"},
    {L"hku-default", kUsers, L".DEFAULT\\" QM_CURRENT_VERSION L"\\Run", kNativeView,
        L"HKEY_USERS\\.DEFAULT\\" QM_CURRENT_VERSION L"\\Run", nullptr, nullptr},
    {L"hklm32", kLocalMachine, QM_CURRENT_VERSION L"\\Run", kView32,
        L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", QM_APPROVED L"\\Run32",
        L"HKEY_LOCAL_MACHINE\\" QM_APPROVED L"\\Run32"},
    {L"hklm-services32", kLocalMachine, QM_CURRENT_VERSION L"\\RunServices", kView32,
        L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices", nullptr, nullptr},
}};

#undef QM_APPROVED
#undef QM_CURRENT_VERSION

// The four locations of the main window, numbered 1 to 4: each lists its native key and,
// for the machine's keys, then the 32-bit programs' key.
struct StartupLocation {
    int number;
    const StartupKey* native;
    const StartupKey* bits32; // nullptr when there is none
    const wchar_t* optionCaption;
    const wchar_t* buttonCaption;
};

inline constexpr int kLocationCount = 4;

inline constexpr std::array<StartupLocation, kLocationCount> kStartupLocations = {{
    {1, &kStartupKeys[0], &kStartupKeys[4], L"HKLM Run", L"&HKLM Run"},
    {2, &kStartupKeys[1], &kStartupKeys[5], L"HKLM Run Services", L"HK&LM Services"},
    {3, &kStartupKeys[2], nullptr, L"HKCU Run", L"H&KCU Run"},
    {4, &kStartupKeys[3], nullptr, L"HKU Run", L"HK&U Run"},
}};

inline const StartupLocation& Location(int number)
{
    return kStartupLocations[static_cast<std::size_t>(number - 1)];
}

// The location that lists a key.
constexpr const StartupLocation& LocationOf(const StartupKey& key)
{
    for (const StartupLocation& location : kStartupLocations) {
        if (location.native == &key || location.bits32 == &key)
            return location;
    }
    return kStartupLocations.front();
}

// The key whose full path this is, in any case of its ASCII letters, or nullptr.
constexpr const StartupKey* FindStartupKey(std::wstring_view fullPath)
{
    for (const StartupKey& key : kStartupKeys) {
        if (EqualNoCase(key.fullPath, fullPath))
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
