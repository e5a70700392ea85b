#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The maker's web pages, opened from the About window.
inline constexpr wchar_t kHomePageAddress[] = L"https://www.quillmoor.example/";
inline constexpr wchar_t kMailingListAddress[] = L"https://www.quillmoor.example/mailing-list";

inline constexpr wchar_t kSysInfoUnavailable[] = L"System Information Is Unavailable At This Time";

// Where the system information tool registers itself below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kMsinfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr wchar_t kMsinfoPathValue[] = L"PATH";
inline constexpr wchar_t kSharedToolsLocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr wchar_t kMsinfoFolderValue[] = L"MSINFO";
inline constexpr wchar_t kMsinfoExe[] = L"MSINFO32.EXE";

// Reads one registry value as text, opening the key for reading only. REG_SZ gives its
// text, REG_EXPAND_SZ its text with environment variables expanded, REG_DWORD "&h" and the
// value in hexadecimal; any other type leaves valueText as passed and still succeeds.
// A key or value that cannot be read gives false and an empty valueText.
[[nodiscard]] bool GetKeyValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, std::wstring& valueText);

// Starts the system information tool where the registry says it is, or tells the user it
// is unavailable.
void StartSysInfo(HWND owner);

void OpenHomePage();
void OpenMailingListPage();

} // namespace qm
