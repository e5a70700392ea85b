#pragma once

// The records that list and backups print, read through the same registry and backup code
// the window lists with.

#include "cli/Output.h"
#include "registry/StartupLocations.h"

#include <string>
#include <vector>

namespace qm::cli {

// Every entry of the keys, in the keys' order: location, key, name, type, enabled, command,
// program, programExists (null when the program was not looked for: a network path, or no
// program named), company (as the program claims), signer and signature (null and empty
// unless verify, when the programs are checked on as many threads as there are processors).
// Keys that exist but cannot be read go to unreadable.
Records EntryRecords(const std::vector<const StartupKey*>& keys, bool verify, std::vector<const StartupKey*>& unreadable);

// The .reg files of the folders: file, location, key, name, type, command, written (UTC, ISO
// 8601); those between file and written are null for a file that is not a backup of a startup
// entry.
Records BackupRecords(const std::vector<std::wstring>& folders);

// "REG_SZ" and its kin; the number for a type the platform has no name for.
std::wstring TypeName(unsigned long type);

} // namespace qm::cli
