#pragma once

// What the main window and the command line do to startup entries, without a window: each
// change is made only after the values it replaces or removes are saved in a verified
// backup, and every step reports how it ended.

#include "registry/StartupLocations.h"

#include <string>
#include <vector>

namespace qm {

enum class RemoveStatus { Removed, ValueMissing, BackupNotSaved, NotRemoved };
struct RemoveResult {
    RemoveStatus status;
    std::wstring backupPath; // set once the backup is saved, whatever followed
};
// Saves the entry (and its enabled state) to a backup in the first folder that can hold it,
// then removes the value and its StartupApproved value.
[[nodiscard]] RemoveResult RemoveStartupEntry(const StartupKey& key, const std::wstring& name,
    const std::vector<std::wstring>& backupFolders);

enum class AddStatus { Added, Replaced, NotReplaced, NotWritten };
struct AddResult {
    AddStatus status;
    std::wstring backupPath; // the replaced entry's backup
};
// Writes a REG_SZ entry into the key (never creating it). An entry of that name is saved to a
// backup first; when that cannot be done nothing is written (NotReplaced).
[[nodiscard]] AddResult AddStartupEntry(const StartupKey& key, const std::wstring& name, const std::wstring& commandLine,
    const std::vector<std::wstring>& backupFolders);

enum class RestoreStatus { Restored, NotAStartupBackup, NotRestored };
struct RestoreResult {
    RestoreStatus status;
    std::wstring entryName; // as the backup's content names it; empty for a file refused
};
// Checks the file, has the registry editor import the checked bytes and reads every value
// back. The file itself is left for the caller to delete once the entry is back.
[[nodiscard]] RestoreResult RestoreFromBackup(const std::wstring& path);

} // namespace qm
