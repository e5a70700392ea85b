#pragma once

#include "backup/RegFileFormat.h"
#include "registry/StartupLocations.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qm {

// The longest base name that leaves room for a numbered suffix ("_1000") and ".reg" within
// the 255 characters a file name may have.
inline constexpr std::size_t kMaxBackupBaseName = 246;

// The backup file's name for an entry, without ".reg". Only a label (the file's content
// holds the real name), so every entry gets one: blanks and characters a file name cannot
// hold become "_", as do a leading dot and trailing dots; a device name (CON, NUL, COM1...)
// gets a "_"; the unnamed default value is "(Default)", as the registry editor calls it; a
// long name is cut to maxLength.
std::wstring BackupBaseName(const std::wstring& entryName, std::size_t maxLength = kMaxBackupBaseName);

// The longest base name whose backup path stays within the platform's path limit in a
// folder; 0 when the folder's own path leaves no room.
std::size_t MaxBackupBaseName(const std::wstring& folder);

// The per-user folder for backups when the program's folder cannot hold them:
// %LOCALAPPDATA%\Quillmoor\Backups (not created here).
std::wstring PerUserBackupFolder();
// Where backups are written, in order of preference, and listed: the program's folder, then
// the per-user folder.
std::vector<std::wstring> BackupFolders();

enum class BackupStatus {
    Saved,
    ValueMissing,
    Unrepresentable, // no .reg file can hold the entry (a line break or NUL in its name); no folder was tried
    NotSaved,        // the value could not be read, or no folder could hold the backup
};
struct BackupResult {
    BackupStatus status;
    std::wstring path; // the verified backup file, when saved
    std::vector<RegValue> values; // what it holds: the entry's value, then its state's
    std::vector<std::uint8_t> file; // a Startup folder item's file, as saved
};

// Saves one value of a startup key, with its own type and bytes, and its StartupApproved
// value when it has one, to a new file "<base name>.reg" (or "_2", "_3"... when that name is
// taken) in the first of the folders that can hold it. The file is written under a
// temporary name, read back, checked as a restore checks it and compared, and only then
// renamed to a name no other file has: no backup ever replaces another. ValueMissing when the
// value is not there (any more).
[[nodiscard]] BackupResult WriteBackup(const StartupKey& key, const std::wstring& name,
    const std::vector<std::wstring>& folders);

// Saves a file of a Startup folder as the same: the file itself, byte for byte, named as it
// is ("_2", "_3"... before its extension when that name is taken), and beside it the same name
// with ".reg" added, holding the item's StartupApproved value, or the line that deletes that
// value when it has none. Both are written under temporary names and checked first. A person
// puts the item back by copying the file into the folder and opening the .reg file.
// ValueMissing when the file is not there (any more).
[[nodiscard]] BackupResult WriteFolderItemBackup(const StartupKey& source, const std::wstring& fileName,
    const std::vector<std::wstring>& folders);

} // namespace qm
