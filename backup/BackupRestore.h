#pragma once

#include "backup/RegFileFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace qm {

inline constexpr wchar_t kBackupExtension[] = L".reg";

// The base names (file names without ".reg") of the backup files in a folder.
std::vector<std::wstring> ListBackupNames(const std::wstring& folder);

// The backup file's content when it is whole and backs up values of a startup location
// only; nothing for any other file, which must never reach the registry editor.
[[nodiscard]] std::optional<RegFile> ReadStartupBackup(const std::wstring& path);

// Hands the file to the registry editor and then checks the registry itself (the editor's
// exit code says nothing about the import): true when every value of the backup is back
// with its type and bytes.
[[nodiscard]] bool ImportAndVerify(const std::wstring& path, const RegFile& backup);

} // namespace qm
