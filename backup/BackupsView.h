#pragma once

#include <string>

namespace qm {

class FrmMain;
class ListBox;

// Appends the name (without ".reg") of every backup file in a folder to a list.
void ListBackups(ListBox& list, const std::wstring& folder);
// Empties and refills the backup list from the program's folder; nothing stays selected, so
// "&Restore Selected" is disabled.
void RefillBackupList(FrmMain& window);
// Hands the selected backup to the registry editor, checks that every value is back exactly,
// and only then deletes the file.
void RestoreSelectedBackup(FrmMain& window);

} // namespace qm
