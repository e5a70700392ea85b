#include "backup/BackupsView.h"

#include "app/FrmMain.h"
#include "app/StartupLocations.h"
#include "backup/AnsiCodePage.h"
#include "backup/RegFileFormat.h"
#include "host/Application.h"
#include "host/Files.h"
#include "launch/Launchers.h"
#include "registry/General2.h"

#include <algorithm>

namespace qm {

namespace {

constexpr wchar_t kExtension[] = L".reg";
constexpr size_t kExtensionLength = 4;
// The registry editor may wait for elevation; a restore does not wait forever.
constexpr DWORD kRegistryEditorTimeoutMs = 60000;

const StartupLocation* LocationOfKey(const std::wstring& keyPath)
{
    for (const StartupLocation& location : kStartupLocations) {
        const std::wstring full = location.fullPath;
        if (CompareStringOrdinal(keyPath.c_str(), static_cast<int>(keyPath.size()), full.c_str(),
                static_cast<int>(full.size()), TRUE) == CSTR_EQUAL)
            return &location;
    }
    return nullptr;
}

bool IsBackInRegistry(const RegValue& expected)
{
    const StartupLocation* location = LocationOfKey(expected.keyPath);
    if (!location)
        return false;
    const auto raw = ReadValueRaw(location->Root(), location->listKey, expected.name);
    if (!raw)
        return false;
    const RegValue actual{expected.keyPath, expected.name, raw->type, std::vector<uint8_t>(raw->data.begin(), raw->data.end())};
    return SameValue(expected, actual);
}

void Tell(FrmMain& window, const std::wstring& text, unsigned code, const std::wstring& title)
{
    App().Services().ShowMessage(window.Hwnd(), text, code, title);
}

} // namespace

void ListBackups(ListBox& list, const std::wstring& folder)
{
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L"*";
    pattern += kExtension;
    for (const std::wstring& name : FindFiles(pattern)) {
        // Short 8.3 names let "*.reg" match longer extensions too.
        if (name.size() < kExtensionLength ||
            lstrcmpiW(name.c_str() + name.size() - kExtensionLength, kExtension) != 0)
            continue;
        list.Add(name.substr(0, name.size() - kExtensionLength));
    }
}

void RefillBackupList(FrmMain& window)
{
    window.lstBack.Clear();
    ListBackups(window.lstBack, App().Folder());
    window.lstBack.SetSelectedIndex(-1);
    window.tintButton10.SetEnabled(false);
}

void RestoreSelectedBackup(FrmMain& window)
{
    const int index = window.lstBack.SelectedIndex();
    if (index < 0)
        return;
    const std::wstring backupName = window.lstBack.Item(index);
    const std::wstring path = App().Folder() + L"\\" + backupName + kExtension;
    std::wstring entryName = backupName;
    std::replace(entryName.begin(), entryName.end(), L'_', L' ');

    // Only a backup of a startup entry goes to the registry editor; anything else could
    // write or delete anywhere in the registry.
    const auto bytes = ReadWholeFile(path);
    const RegFileParse parsed = bytes ? ParseRegFile(*bytes, AnsiCodePage{}) : RegFileParse{};
    if (!parsed.file || !ValidateStartupBackup(*parsed.file).ok) {
        Tell(window, backupName + L" is not a backup of a startup entry and was not imported.", kMbOkExclamation,
            L"Process Not Restored");
        return;
    }

    const auto exitCode = App().Services().RunAndWait(WinDir() + L"\\regedit.exe", L"/s \"" + path + L"\"",
        kRegistryEditorTimeoutMs);
    App().DoEvents();
    // The editor's exit code says nothing about the import: only the registry itself does.
    const auto& values = parsed.file->sections.front().values;
    const bool restored = exitCode && std::all_of(values.begin(), values.end(), IsBackInRegistry);
    if (restored) {
        Tell(window, entryName + L" has been restored", kMbOkInformation, L"Process Restored");
        App().DoEvents();
        DeleteFileAt(path);
    } else {
        Tell(window, entryName + L" could not be restored.", kMbOkExclamation, L"Process Not Restored");
    }

    if (const int location = window.CurrentLocation())
        window.ListLocation(location);
    App().DoEvents();
    RefillBackupList(window);
    App().DoEvents();
}

} // namespace qm
