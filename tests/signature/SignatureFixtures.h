#pragma once

#include "host/Application.h"
#include "host/Files.h"
#include "host/Handles.h"

#include <windows.h>

#include <string>

namespace qmtest {

// A file made by tests/scripts/signed-fixtures.sh beside the test executables.
inline std::wstring FixturePath(const std::wstring& name)
{
    return qm::App().Folder() + L"\\signature-fixtures\\" + name;
}

// An empty folder of the temp folder for one test, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name)
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"QmSignature" + name;
        Remove();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }

private:
    void Remove() const
    {
        for (const std::wstring& file : qm::FindFiles(path_ + L"\\*"))
            static_cast<void>(qm::DeleteFileAt(path_ + L"\\" + file));
        RemoveDirectoryW(path_.c_str());
    }

    std::wstring path_;
};

inline FILETIME LastWrite(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// Sets a file's last-write time to a given one, some seconds later.
inline void SetLastWrite(const std::wstring& path, FILETIME time, int laterSeconds = 0)
{
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += static_cast<ULONGLONG>(laterSeconds) * 10'000'000;
    const FILETIME set{value.LowPart, value.HighPart};
    const qm::UniqueFile file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.get(), nullptr, nullptr, &set);
}

} // namespace qmtest
