#include "host/Files.h"

#include "host/Handles.h"

namespace qm {

std::vector<std::wstring> FindFiles(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return names;
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if ((data.dwFileAttributes & kSkipped) == 0)
            names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

bool IsPlainFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DeleteFileAt(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != FALSE;
}

DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        error = GetLastError();
    else if (written != bytes.size())
        error = ERROR_WRITE_FAULT;
    if (!FlushFileBuffers(file.get()) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (!file.Close() && error == ERROR_SUCCESS)
        error = GetLastError();
    return error;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path)
{
    const UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart >= 64 * 1024 * 1024)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return std::nullopt;
    return bytes;
}

} // namespace qm
