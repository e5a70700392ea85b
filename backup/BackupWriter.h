#pragma once

#include "registry/StartupLocations.h"

#include <optional>
#include <string>

namespace qm {

// The backup file's name for an entry: blanks become underscores; the unnamed default
// value is "(Default)", as the registry editor calls it.
std::wstring BackupBaseName(const std::wstring& entryName);

// Saves one value of a startup location, with its own type and bytes, to
// "<folder>\<baseName>.reg", or to "<baseName>_2.reg", "_3"... when that file already holds
// another entry's backup. The file is read back and compared before it counts: the path of a
// verified backup, or nothing (and no half-written file left behind).
[[nodiscard]] std::optional<std::wstring> WriteBackupFile(const StartupLocation& location, const std::wstring& name,
    const std::wstring& baseName, const std::wstring& folder);

} // namespace qm
