#pragma once

#include <windows.h>

#include <array>

namespace qm {

// The four registry keys Windows starts programs from, numbered 1 to 4.
struct StartupLocation {
    int number;
    LONG rootId; // a predefined key: HKEY_LOCAL_MACHINE and so on, as its 32-bit number
    const wchar_t* listKey;
    const wchar_t* removeKey;
    const wchar_t* fullPath; // root name and key, as added to and written in backups
    const wchar_t* optionCaption;
    const wchar_t* buttonCaption;

    HKEY Root() const { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(rootId)); }
};

inline constexpr int kLocationCount = 4;

inline constexpr std::array<StartupLocation, kLocationCount> kStartupLocations = {{
    {1, static_cast<LONG>(0x80000002), L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKLM Run", L"&HKLM Run"},
    {2, static_cast<LONG>(0x80000002), L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices",
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", L"HKLM Run Services",
        L"HK&LM Services"},
    {3, static_cast<LONG>(0x80000001), L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKCU Run", L"H&KCU Run"},
    {4, static_cast<LONG>(0x80000003), L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"HKU Run", L"HK&U Run"},
}};

inline const StartupLocation& Location(int number)
{
    return kStartupLocations[static_cast<size_t>(number - 1)];
}

} // namespace qm
