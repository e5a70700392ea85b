#include "app/BackupsView.h"

#include "app/FrmMain.h"
#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "backup/EntryOperations.h"
#include "host/Application.h"
#include "host/Files.h"
#include "launch/FolderItems.h"

namespace qm {

namespace {

// In the user's short date and time formats, in local time.
std::wstring ShortDateTime(const FILETIME& utc)
{
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t date[80]{};
    wchar_t time[80]{};
    if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80, nullptr) ||
        !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80))
        return {};
    return std::wstring(date) + L" " + time;
}

} // namespace

std::wstring BackupTooltip(const FrmMain& window, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= window.backups.size())
        return {};
    const std::wstring& path = window.backups[static_cast<size_t>(index)].path;
    std::wstring tip;
    auto line = [&tip](const std::wstring& text) { tip += (tip.empty() ? L"" : L"\r\n") + text; };
    if (const auto content = DescribeBackup(path)) {
        line(content->name.empty() ? L"(Default)" : content->name);
        const StartupKey* key = content->source;
        line((key ? std::wstring(LocationOf(*key).optionCaption) + L": " : std::wstring()) + content->keyPath);
        line(L"Command line: " + (key && key->IsFolder() ? FolderItemCommand(FolderItemCopyPath(path)) : content->command));
        if (content->enabled == false)
            line(L"Disabled at startup");
    } else {
        line(L"Not a backup of a startup entry");
    }
    if (const auto written = LastWriteTime(path))
        line(L"Written " + ShortDateTime(*written));
    line(path);
    return tip;
}

void RefillBackupList(FrmMain& window)
{
    window.backups = ListBackups(BackupFolders());
    ShowBackupList(window);
}

void ShowBackupList(FrmMain& window)
{
    // Made on first use, the backups view shows its list as it is made.
    if (window.CreateLaterControls())
        return;
    window.backupList.Clear();
    for (const BackupFile& backup : window.backups)
        window.backupList.Add(backup.baseName);
    window.backupList.SetSelectedIndex(-1);
    window.restoreButton.SetEnabled(false);
}

void RestoreSelectedBackup(FrmMain& window)
{
    const int index = window.backupList.SelectedIndex();
    if (index < 0 || static_cast<size_t>(index) >= window.backups.size())
        return;
    const FrmMain::CommandScope command(window);
    // The file this very item was listed for, whatever folder it lies in.
    const std::wstring path = window.backups[static_cast<size_t>(index)].path;
    const std::wstring backupName = window.backupList.Item(index);

    const ChangeResult result = RestoreFromBackup(path, BackupFolders());
    if (result.why == Why::NotAStartupBackup) {
        window.ShowMessage(backupName + L" is not a backup of a startup entry and was not imported.", kMbOkExclamation,
            L"Process Not Restored");
        return;
    }
    App().DoEvents();
    // The entry is named by the backup's content: the file's name is only a label.
    const std::wstring& name = result.entryName;
    const std::wstring replaced =
        result.backupPath.empty() ? L"" : L" The entry it replaced has been saved to a backup copy.";
    if (result.outcome == Outcome::Done) {
        std::wstring text = name + L" has been restored";
        if (!replaced.empty() || result.keepRestoredBackup)
            text += L"." + replaced;
        if (result.keepRestoredBackup)
            text += L" Its backup file is kept: it was written for a code page this computer may not use, so the "
                    L"restored text cannot be checked.";
        window.ShowMessage(text, kMbOkInformation, L"Process Restored");
        App().DoEvents();
        // A backup left behind is only clutter: the entry is verified to be back.
        if (!result.keepRestoredBackup)
            static_cast<void>(DeleteBackup(path));
    } else if (result.why == Why::StateNotCleared) {
        window.ShowMessage(name + L" has been restored, but its startup setting could not be cleared." + replaced,
            kMbOkExclamation, L"Process Restored");
    } else if (result.why == Why::ReplacedNotSaved) {
        window.ShowMessage(name + L" was not restored because the entry it would replace could not be saved.",
            kMbOkExclamation, L"Process Not Restored");
    } else if (result.why == Why::AccessRefused) {
        window.ShowMessage(name + L" was not restored because its startup setting could not be changed.", kMbOkExclamation,
            L"Process Not Restored");
    } else {
        window.ShowMessage(name + (result.outcome == Outcome::DoneInPart ? L" could not be restored exactly." + replaced
                                                                         : L" could not be restored."),
            kMbOkExclamation, L"Process Not Restored");
    }

    window.ListLocation(window.CurrentLocation());
    App().DoEvents();
    RefillBackupList(window);
    App().DoEvents();
}

} // namespace qm
