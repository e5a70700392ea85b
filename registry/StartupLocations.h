#pragma once

// The registry keys Windows starts programs from: the one table the windows, the registry
// layer and the backup validator share. Free of the platform headers, so that the backup
// format code builds and is fuzzed on any host.

#include "host/TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

struct StartupLocation {
    int number;                 // 1 to 4, as the windows count them
    std::uint32_t rootHandle;   // the predefined root key's 32-bit value (HKEY_LOCAL_MACHINE...)
    const wchar_t* subKey;   // below the root
    const wchar_t* fullPath; // root name and key, as added to and written in backups
    const wchar_t* optionCaption;
    const wchar_t* buttonCaption;
};

inline constexpr int kLocationCount = 4;

inline constexpr std::array<StartupLocation, kLocationCount> kStartupLocations = {{
    {1, 0x80000002, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKLM Run", L"&HKLM Run"},
    {2, 0x80000002, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", L"HKLM Run Services",
        L"HK&LM Services"},
    {3, 0x80000001, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKCU Run", L"H&KCU Run"},
    {4, 0x80000003, L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKU Run", L"HK&U Run"},
}};

inline const StartupLocation& Location(int number)
{
    return kStartupLocations[static_cast<std::size_t>(number - 1)];
}

// The location whose full path this is, in any case of its ASCII letters, or nullptr.
constexpr const StartupLocation* FindLocation(std::wstring_view fullPath)
{
    for (const StartupLocation& location : kStartupLocations) {
        if (EqualNoCase(location.fullPath, fullPath))
            return &location;
    }
    return nullptr;
}

} // namespace qm
