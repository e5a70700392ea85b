#pragma once

namespace qm {

class FrmMain;

// Empties and refills the backup list from the program's folder; nothing stays selected, so
// "&Restore Selected" is disabled.
void RefillBackupList(FrmMain& window);
// Hands the selected backup to the registry editor, checks that every value is back exactly,
// and only then deletes the file.
void RestoreSelectedBackup(FrmMain& window);

} // namespace qm
