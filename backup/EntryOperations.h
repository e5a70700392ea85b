#pragma once

// What the main window and the command line do to startup entries, without a window: each
// change is made only after the values it replaces or removes are saved in a verified
// backup, and every change reports what it did to the registry.

#include "registry/StartupLocations.h"

#include <functional>
#include <string>
#include <vector>

namespace qm {

// What a change did to the registry.
enum class Outcome {
    Done,       // every step
    DoneInPart, // the entry changed, but not every step followed (why says which)
    NotDone,    // nothing in the registry changed (why says why)
};

enum class Why {
    None,
    NoSuchEntry,        // the entry is not (or no longer) there
    NameRefused,        // a name with CR, LF or NUL: no backup could ever hold that entry
    NoBackupPossible,   // no backup file can hold the entry's name
    BackupNotSaved,     // no folder took a verified backup
    AccessRefused,      // a key refused the change
    ChangedMeanwhile,   // the entry changed while its backup was being saved
    NotAStartupBackup,  // the file is not a backup of a startup entry
    ReplacedNotSaved,   // the entry a restore would replace could not be saved
    NotVerified,        // the registry does not hold what the backup holds after the import
    StateNotCleared,    // the entry changed, but its StartupApproved value could not be removed
};

struct ChangeResult {
    Outcome outcome = Outcome::NotDone;
    Why why = Why::None;
    // The backup this change saved (of the entry it removed or replaced), once saved.
    std::wstring backupPath;
    // A restore's entry as the backup's content names it; empty for a file refused.
    std::wstring entryName;
    // A restore whose backup must stay although it verified: a classic backup with bytes
    // above 0x7F, which the verification reads in the same code page as the import did.
    bool keepRestoredBackup = false;
};

// True when the name has no spelling in any backup file (CR, LF or NUL).
bool NameHasNoBackupSpelling(const std::wstring& name);

struct RemoveOptions {
    // Runs between saving the backup and deleting, so that a window stays alive meanwhile.
    std::function<void()> afterBackup;
    // Removes an entry that no backup file can hold without one; the caller has asked.
    bool withoutBackupWhenNoneCanHoldIt = false;
};

// Saves the entry (and its enabled state) to a backup in the first folder that can hold it,
// then removes the value and its StartupApproved value. Keys are opened for the change before
// the backup is written, so that a refusal changes nothing; an entry that changed while its
// backup was saved is left alone, and a backup nothing came of is deleted again.
[[nodiscard]] ChangeResult RemoveStartupEntry(const StartupKey& key, const std::wstring& name,
    const std::vector<std::wstring>& backupFolders, const RemoveOptions& options = {});

// Writes a REG_SZ entry into the key (never creating it), enabled: a StartupApproved value
// left of that name goes. An entry of that name is saved to a backup first (backupPath);
// when that cannot be done nothing is written.
[[nodiscard]] ChangeResult AddStartupEntry(const StartupKey& key, const std::wstring& name,
    const std::wstring& commandLine, const std::vector<std::wstring>& backupFolders);

// Checks the file, saves what it would replace (backupPath: beside the file, or else in the
// first of backupFolders that can hold it), has the registry editor import
// the checked bytes, brings the entry's enabled state to exactly what the backup holds and
// reads every value back. The file itself is left for the caller to delete once the entry is
// back, unless keepRestoredBackup says it must stay.
[[nodiscard]] ChangeResult RestoreFromBackup(const std::wstring& path, const std::vector<std::wstring>& backupFolders);

} // namespace qm
