#include "app/BackupsView.h"

#include "app/FrmMain.h"
#include "backup/BackupRestore.h"
#include "host/Application.h"
#include "host/Files.h"

#include <algorithm>

namespace qm {

void RefillBackupList(FrmMain& window)
{
    window.backupList.Clear();
    for (const std::wstring& name : ListBackupNames(App().Folder()))
        window.backupList.Add(name);
    window.backupList.SetSelectedIndex(-1);
    window.restoreButton.SetEnabled(false);
}

void RestoreSelectedBackup(FrmMain& window)
{
    const int index = window.backupList.SelectedIndex();
    if (index < 0)
        return;
    const std::wstring backupName = window.backupList.Item(index);
    const std::wstring path = App().Folder() + L"\\" + backupName + kBackupExtension;
    std::wstring entryName = backupName;
    std::replace(entryName.begin(), entryName.end(), L'_', L' ');

    const auto backup = ReadStartupBackup(path);
    if (!backup) {
        window.ShowMessage(backupName + L" is not a backup of a startup entry and was not imported.", kMbOkExclamation,
            L"Process Not Restored");
        return;
    }

    const bool restored = ImportAndVerify(path, *backup);
    App().DoEvents();
    if (restored) {
        window.ShowMessage(entryName + L" has been restored", kMbOkInformation, L"Process Restored");
        App().DoEvents();
        // A backup left behind is only clutter: the entry is verified to be back.
        static_cast<void>(DeleteFileAt(path));
    } else {
        window.ShowMessage(entryName + L" could not be restored.", kMbOkExclamation, L"Process Not Restored");
    }

    if (const int location = window.CurrentLocation())
        window.ListLocation(location);
    App().DoEvents();
    RefillBackupList(window);
    App().DoEvents();
}

} // namespace qm
