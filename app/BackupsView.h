#pragma once

#include <string>

namespace qm {

class FrmMain;

// Reads the backup folders again and shows what they hold in the backup list.
void RefillBackupList(FrmMain& window);
// Shows the backups as last read in the backup list, once the backups view is made; nothing
// stays selected, so "&Restore Selected" is disabled.
void ShowBackupList(FrmMain& window);
// What the backup list's tooltip says of a backup: the entry it holds, where it goes back to,
// its command line and state, and when the file was written.
std::wstring BackupTooltip(const FrmMain& window, int index);
// Hands the selected backup to the registry editor, checks that every value is back exactly,
// and only then deletes the file.
void RestoreSelectedBackup(FrmMain& window);

} // namespace qm
