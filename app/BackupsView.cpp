#include "app/BackupsView.h"

#include "app/FrmMain.h"
#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "backup/EntryOperations.h"
#include "host/Application.h"
#include "host/Files.h"

namespace qm {

void RefillBackupList(FrmMain& window)
{
    // Made on first use, the backups view fills its list as it is made.
    if (window.CreateLaterControls())
        return;
    window.backupList.Clear();
    window.backupFiles.clear();
    for (BackupFile& backup : ListBackups(BackupFolders())) {
        window.backupList.Add(backup.baseName);
        window.backupFiles.push_back(std::move(backup.path));
    }
    window.backupList.SetSelectedIndex(-1);
    window.restoreButton.SetEnabled(false);
}

void RestoreSelectedBackup(FrmMain& window)
{
    const int index = window.backupList.SelectedIndex();
    if (index < 0 || static_cast<size_t>(index) >= window.backupFiles.size())
        return;
    const FrmMain::CommandScope command(window);
    // The file this very item was listed for, whatever folder it lies in.
    const std::wstring path = window.backupFiles[static_cast<size_t>(index)];
    const std::wstring backupName = window.backupList.Item(index);

    const RestoreResult result = RestoreFromBackup(path);
    if (result.status == RestoreStatus::NotAStartupBackup) {
        window.ShowMessage(backupName + L" is not a backup of a startup entry and was not imported.", kMbOkExclamation,
            L"Process Not Restored");
        return;
    }
    App().DoEvents();
    // The entry is named by the backup's content: the file's name is only a label.
    if (result.status == RestoreStatus::Restored) {
        window.ShowMessage(result.entryName + L" has been restored", kMbOkInformation, L"Process Restored");
        App().DoEvents();
        // A backup left behind is only clutter: the entry is verified to be back.
        static_cast<void>(DeleteFileAt(path));
    } else {
        window.ShowMessage(result.entryName + L" could not be restored.", kMbOkExclamation, L"Process Not Restored");
    }

    window.ListLocation(window.CurrentLocation());
    App().DoEvents();
    RefillBackupList(window);
    App().DoEvents();
}

} // namespace qm
