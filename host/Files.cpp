#include "host/Files.h"

#include "host/Handles.h"

#include <sddl.h>

#include <atomic>

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

DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, Creation creation)
{
    const DWORD disposition = creation == Creation::NewOnly ? CREATE_NEW : CREATE_ALWAYS;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
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

std::optional<FILETIME> LastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return data.ftLastWriteTime;
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

DWORD MoveFileNoReplace(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS : GetLastError();
}

DWORD MoveFileReplacing(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS
                                                                                                     : GetLastError();
}

bool CreateFolders(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const auto slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 && !CreateFolders(path.substr(0, slash)))
        return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring UniqueFileName(const std::wstring& folder, const std::wstring& prefix, const std::wstring& extension)
{
    static std::atomic<unsigned> counter{0};
    for (;;) {
        wchar_t unique[40] = {};
        swprintf(unique, std::size(unique), L"%lx-%llx-%x", GetCurrentProcessId(), GetTickCount64(), counter++);
        std::wstring path = folder + L"\\" + prefix + unique + extension;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return path;
    }
}

namespace {

// A descriptor that lets the current user alone at the file; nothing when it cannot be had.
std::optional<std::vector<BYTE>> UserOnlyDescriptor()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken))
        return std::nullopt;
    const UniqueKernelHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    wchar_t* sid = nullptr;
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid))
        return std::nullopt;
    const std::wstring sddl = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
    LocalFree(sid);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG length = 0;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, &length))
        return std::nullopt;
    std::vector<BYTE> copy(static_cast<const BYTE*>(descriptor), static_cast<const BYTE*>(descriptor) + length);
    LocalFree(descriptor);
    return copy;
}

} // namespace

std::optional<PrivateFileCopy> PrivateFileCopy::Create(const std::vector<std::uint8_t>& bytes, const std::wstring& extension)
{
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    if (length == 0 || length > MAX_PATH)
        return std::nullopt;
    std::wstring folder(temp, length);
    if (folder.back() == L'\\')
        folder.pop_back();
    const std::wstring path = UniqueFileName(folder, L"qm", extension);

    auto descriptor = UserOnlyDescriptor();
    SECURITY_ATTRIBUTES security{sizeof(security), descriptor ? descriptor->data() : nullptr, FALSE};
    {
        UniqueFile writer(CreateFileW(path.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY,
            nullptr));
        DWORD written = 0;
        if (!writer)
            return std::nullopt;
        const bool whole = WriteFile(writer.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size() && FlushFileBuffers(writer.get());
        if (!writer.Close() || !whole) {
            DeleteFileW(path.c_str());
            return std::nullopt;
        }
    }
    // Readers may share the file; nobody may write it or take it away while it is held.
    UniqueFile reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const auto check = reader ? ReadWholeFile(path) : std::nullopt;
    if (!check || *check != bytes) {
        reader.reset();
        DeleteFileW(path.c_str());
        return std::nullopt;
    }
    return PrivateFileCopy(path, std::move(reader));
}

PrivateFileCopy::~PrivateFileCopy()
{
    if (!reader_)
        return;
    reader_.reset();
    DeleteFileW(path_.c_str());
}

} // namespace qm
