#pragma once

#include "backup/RegFileFormat.h"
#include "registry/StartupLocations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

inline constexpr wchar_t kBackupExtension[] = L".reg";

struct BackupFile {
    std::wstring path;
    std::wstring baseName; // the file name without ".reg", as the backups view lists it
};

// The backup files of the folders, folder by folder.
std::vector<BackupFile> ListBackups(const std::vector<std::wstring>& folders);

// A backup file that passed the check, and the very bytes that passed it.
struct CheckedBackup {
    RegFile file;
    std::vector<std::uint8_t> bytes;
    // A REGEDIT4 file holding a byte above 0x7F in its text or its string data: the registry
    // editor and the check both read it in this machine's ANSI code page, which need not be
    // the one that wrote it, so a restore that reads back as the file says cannot prove that
    // the text is what was saved.
    bool dependsOnCodePage = false;
};

// The check a restore applies, and the writer too, so that it saves nothing a restore would
// refuse: the bytes are a whole .reg file that backs up one entry of a startup location, with
// its enabled state or without; nothing for any other file, which must never reach the
// registry editor.
[[nodiscard]] std::optional<CheckedBackup> CheckStartupBackup(std::vector<std::uint8_t> bytes);
// The same check of a file's content.
[[nodiscard]] std::optional<CheckedBackup> ReadStartupBackup(const std::wstring& path);

// The entry a backup puts back, as its content names it: "(Default)" for the unnamed value,
// the file's name for a Startup folder item.
std::wstring BackupEntryName(const RegFile& backup);

// The Startup folder a checked backup puts a file back into; nullptr for a backup of a key's value.
const StartupKey* FolderItemSource(const RegFile& backup);
// Where a Startup folder item's backup keeps the file itself: beside it, its name less ".reg".
std::wstring FolderItemCopyPath(const std::wstring& backupPath);

// Deletes a backup: the file, and the copy of the item beside it when it is a Startup folder
// item's. True when the backup file is gone.
[[nodiscard]] bool DeleteBackup(const std::wstring& path);

// What a checked backup holds, as the backups view and the command line describe it.
struct BackupContent {
    const StartupKey* source = nullptr; // nullptr when the key is no startup key
    std::wstring keyPath; // a Startup folder item's folder
    std::wstring name; // empty: the key's unnamed default value
    std::uint32_t type = 0;
    std::wstring command; // the data as the entry lists show them; empty for a Startup folder item
    std::optional<bool> enabled; // the state it restores; none when it holds none
};
[[nodiscard]] std::optional<BackupContent> DescribeBackup(const std::wstring& path);

// Hands the registry editor a private copy of the checked bytes (so a file replaced after the
// check is never imported) and then checks the registry itself, since the editor's exit code
// says nothing about the import: true when every value of the backup is back with its type
// and bytes, and every value it deletes is gone.
[[nodiscard]] bool ImportAndVerify(const CheckedBackup& backup);

} // namespace qm
