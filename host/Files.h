#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// Names (without folder) of the plain files matching a pattern such as "C:\dir\*.reg":
// hidden, system and directory entries are left out, read-only files are included.
std::vector<std::wstring> FindFiles(const std::wstring& pattern);

// An existing file, not a folder.
bool IsPlainFile(const std::wstring& path);
[[nodiscard]] bool DeleteFileAt(const std::wstring& path);

// Creates or replaces a file with exactly these bytes; ERROR_SUCCESS or the failing step's error.
[[nodiscard]] DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

} // namespace qm
