#pragma once

#include "host/Handles.h"

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
// When the file was last written (UTC); none when it cannot be read.
std::optional<FILETIME> LastWriteTime(const std::wstring& path);
[[nodiscard]] bool DeleteFileAt(const std::wstring& path);

enum class Creation { ReplaceAny, NewOnly };
// Writes a file with exactly these bytes and flushes it to the disk; NewOnly fails
// (ERROR_FILE_EXISTS) rather than replace a file. ERROR_SUCCESS or the failing step's error.
[[nodiscard]] DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
    Creation creation = Creation::ReplaceAny);
// Renames a file within its folder's volume, never over another file (ERROR_ALREADY_EXISTS
// then): of two programs claiming one name, exactly one gets it.
[[nodiscard]] DWORD MoveFileNoReplace(const std::wstring& from, const std::wstring& to);
// Renames a file within its folder's volume over the file of that name, in one step.
[[nodiscard]] DWORD MoveFileReplacing(const std::wstring& from, const std::wstring& to);
// Creates a folder and every missing folder above it; true when it exists afterwards.
[[nodiscard]] bool CreateFolders(const std::wstring& path);
// A name for a new file in a folder that no file has now: prefix, a unique part, extension.
std::wstring UniqueFileName(const std::wstring& folder, const std::wstring& prefix, const std::wstring& extension);

// A copy of some bytes in a new file of the user's temporary folder that only this user may
// open, held open against writers while the object lives, and deleted with it.
class PrivateFileCopy {
public:
    [[nodiscard]] static std::optional<PrivateFileCopy> Create(const std::vector<std::uint8_t>& bytes,
        const std::wstring& extension);
    PrivateFileCopy(PrivateFileCopy&& other) noexcept = default;
    PrivateFileCopy& operator=(PrivateFileCopy&&) = delete;
    ~PrivateFileCopy();

    const std::wstring& Path() const { return path_; }

private:
    PrivateFileCopy(std::wstring path, UniqueFile reader) : path_(std::move(path)), reader_(std::move(reader)) {}

    std::wstring path_;
    UniqueFile reader_;
};
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

} // namespace qm
