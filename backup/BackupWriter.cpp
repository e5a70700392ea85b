#include "backup/BackupWriter.h"

#include "backup/BackupRestore.h"
#include "backup/RegFileFormat.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

#include <shlobj.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

namespace qm {

namespace {

// Enough candidates for any real folder; past them the backup counts as failed.
constexpr int kMaxBackupSuffix = 1000;
// "_1000.reg"
constexpr std::size_t kSuffixRoom = 9;
// The platform's path limit, without the terminating NUL.
constexpr std::size_t kMaxPath = MAX_PATH - 1;

constexpr std::array<std::wstring_view, 22> kDeviceNames = {L"CON", L"PRN", L"AUX", L"NUL", L"COM1", L"COM2",
    L"COM3", L"COM4", L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5",
    L"LPT6", L"LPT7", L"LPT8", L"LPT9"};

bool UnfitForFileName(wchar_t c)
{
    return c < 0x20 || c == L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

bool IsDeviceName(std::wstring_view stem)
{
    return std::any_of(kDeviceNames.begin(), kDeviceNames.end(), [stem](std::wstring_view device) {
        return EqualNoCase(stem, device);
    });
}

// The bytes pass the check a restore applies and read back as exactly these values, a
// section each.
bool HoldsExactly(std::vector<uint8_t> bytes, const std::vector<RegValue>& values)
{
    const auto checked = CheckStartupBackup(std::move(bytes));
    if (!checked || checked->file.sections.size() != values.size())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!SameValue(values[i], checked->file.sections[i].values.front()))
            return false;
    }
    return true;
}

// A file written under a temporary name in the folder and read back as exactly these bytes
// (and, for a backup file, as the check wants it); empty when it could not be.
std::wstring WriteChecked(const std::wstring& folder, const std::vector<uint8_t>& bytes,
    const std::function<bool(std::vector<uint8_t>)>& holdsWhatItShould)
{
    const std::wstring temporary = UniqueFileName(folder, L"~qm", L".tmp");
    if (WriteWholeFile(temporary, bytes, Creation::NewOnly) == ERROR_SUCCESS) {
        if (auto written = ReadWholeFile(temporary); written && holdsWhatItShould(std::move(*written)))
            return temporary;
    }
    static_cast<void>(DeleteFileAt(temporary));
    return {};
}

// The name of the suffix-th candidate: a Startup folder item's copy keeps its extension last,
// so that it still opens as what it is.
std::wstring Candidate(const std::wstring& baseName, int suffix, bool keepsExtension)
{
    if (suffix == 1)
        return baseName;
    const std::wstring number = L"_" + std::to_wstring(suffix);
    const auto dot = keepsExtension ? baseName.rfind(L'.') : std::wstring::npos;
    if (dot == std::wstring::npos || dot == 0)
        return baseName + number;
    return baseName.substr(0, dot) + number + baseName.substr(dot);
}

// The backup in one folder: a temporary file written and checked, then renamed to the first
// free name, with the item's file renamed beside it under the same name less ".reg" when it
// has one. Empty when the folder cannot hold it.
std::wstring SaveIn(const std::wstring& folder, const std::wstring& entryName, const std::vector<uint8_t>& bytes,
    const std::function<bool(std::vector<uint8_t>)>& holdsWhatItShould, const std::vector<uint8_t>* itemFile)
{
    const std::size_t room = MaxBackupBaseName(folder);
    if (room == 0 || !CreateFolders(folder))
        return {};
    const std::wstring baseName = BackupBaseName(entryName, room);
    const std::wstring temporary = WriteChecked(folder, bytes, holdsWhatItShould);
    const std::wstring temporaryItem = itemFile ? WriteChecked(folder, *itemFile, [itemFile](std::vector<uint8_t> read) {
        return read == *itemFile;
    }) : std::wstring();
    if (temporary.empty() || (itemFile && temporaryItem.empty())) {
        static_cast<void>(DeleteFileAt(temporary));
        static_cast<void>(DeleteFileAt(temporaryItem));
        return {};
    }
    for (int suffix = 1; suffix <= kMaxBackupSuffix; ++suffix) {
        const std::wstring stem = folder + L"\\" + Candidate(baseName, suffix, itemFile != nullptr);
        if (itemFile) {
            const DWORD error = MoveFileNoReplace(temporaryItem, stem);
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || error == ERROR_ACCESS_DENIED)
                continue;
            if (error != ERROR_SUCCESS)
                break;
        }
        const std::wstring path = stem + kBackupExtension;
        const DWORD error = MoveFileNoReplace(temporary, path);
        if (error != ERROR_SUCCESS && itemFile && MoveFileNoReplace(stem, temporaryItem) != ERROR_SUCCESS)
            break;
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || error == ERROR_ACCESS_DENIED)
            continue;
        if (error != ERROR_SUCCESS)
            break;
        // A backup the backups view would not list (Wine hides dot-files) cannot be restored.
        if (FindFiles(path).empty()) {
            static_cast<void>(DeleteFileAt(path));
            if (itemFile)
                static_cast<void>(DeleteFileAt(stem));
            return {};
        }
        return path;
    }
    static_cast<void>(DeleteFileAt(temporary));
    static_cast<void>(DeleteFileAt(temporaryItem));
    return {};
}

} // namespace

std::wstring BackupBaseName(const std::wstring& entryName, std::size_t maxLength)
{
    if (entryName.empty())
        return L"(Default)";
    std::wstring baseName = entryName;
    std::replace_if(baseName.begin(), baseName.end(), UnfitForFileName, L'_');
    // Room for the "_" a device name gets; a surrogate pair is never cut in half.
    const std::size_t limit = maxLength > 1 ? maxLength - 1 : 1;
    if (baseName.size() > limit) {
        baseName.resize(limit);
        if (baseName.back() >= 0xD800 && baseName.back() <= 0xDBFF)
            baseName.back() = L'_';
    }
    // The system drops trailing dots from a name; a leading one hides the file from Wine.
    for (auto dot = baseName.rbegin(); dot != baseName.rend() && *dot == L'.'; ++dot)
        *dot = L'_';
    if (baseName.front() == L'.')
        baseName.front() = L'_';
    // "CON" and "con.txt" alike name a device.
    const auto stem = baseName.find(L'.');
    if (IsDeviceName(std::wstring_view(baseName).substr(0, stem)))
        baseName.insert(stem == std::wstring::npos ? baseName.size() : stem, L"_");
    return baseName;
}

std::size_t MaxBackupBaseName(const std::wstring& folder)
{
    const std::size_t used = folder.size() + 1 + kSuffixRoom;
    return used >= kMaxPath ? 0 : std::min(kMaxBackupBaseName, kMaxPath - used);
}

std::wstring PerUserBackupFolder()
{
    const std::wstring local = GetSpecialFolderPath(CSIDL_LOCAL_APPDATA);
    return local.empty() ? std::wstring() : local + L"\\Quillmoor\\Backups";
}

std::vector<std::wstring> BackupFolders()
{
    std::vector<std::wstring> folders = {App().Folder()};
    if (std::wstring perUser = PerUserBackupFolder(); !perUser.empty())
        folders.push_back(std::move(perUser));
    return folders;
}

BackupResult WriteBackup(const StartupKey& key, const std::wstring& name, const std::vector<std::wstring>& folders)
{
    const auto raw = ReadValueRaw(RootKey(key), key.subKey, name, key.view);
    if (!raw) {
        const bool missing = ValueIsMissing(RootKey(key), key.subKey, name, key.view);
        return {missing ? BackupStatus::ValueMissing : BackupStatus::NotSaved, {}, {}, {}};
    }
    std::vector<RegValue> values = {{key.fullPath, name, raw->type, {raw->data.begin(), raw->data.end()}}};
    // The enabled state Windows keeps goes with the entry, under the entry's own name.
    if (const auto approved = ReadApprovedValue(key, name))
        values.push_back({key.approvedFullPath, name, approved->type, {approved->data.begin(), approved->data.end()}});
    const std::vector<uint8_t> bytes = EncodeBackup(values);
    // A name with a line break or a NUL has no spelling the registry editor reads back.
    if (!HoldsExactly(bytes, values))
        return {BackupStatus::Unrepresentable, {}, {}, {}};
    const auto holds = [&values](std::vector<uint8_t> written) { return HoldsExactly(std::move(written), values); };
    for (const std::wstring& folder : folders) {
        if (std::wstring path = SaveIn(folder, name, bytes, holds, nullptr); !path.empty())
            return {BackupStatus::Saved, std::move(path), std::move(values), {}};
    }
    return {BackupStatus::NotSaved, {}, {}, {}};
}

BackupResult WriteFolderItemBackup(const StartupKey& source, const std::wstring& fileName,
    const std::vector<std::wstring>& folders)
{
    const std::wstring folder = StartupFolderPath(source);
    if (folder.empty() || !IsPlainFolderItemName(fileName))
        return {BackupStatus::NotSaved, {}, {}, {}};
    const std::wstring itemPath = folder + L"\\" + fileName;
    auto file = ReadWholeFile(itemPath);
    if (!file)
        return {IsPlainFile(itemPath) ? BackupStatus::NotSaved : BackupStatus::ValueMissing, {}, {}, {}};
    std::vector<RegValue> values;
    std::vector<uint8_t> bytes;
    if (const auto approved = ReadApprovedValue(source, fileName)) {
        values.push_back({source.approvedFullPath, fileName, approved->type, {approved->data.begin(), approved->data.end()}});
        bytes = EncodeBackup(values);
    } else {
        bytes = EncodeStateDeletion(source.approvedFullPath, fileName);
    }
    const auto holds = [&values, &fileName](std::vector<uint8_t> written) {
        const auto checked = CheckStartupBackup(std::move(written));
        if (!checked || FolderItemFileName(checked->file) != fileName)
            return false;
        const RegSection& section = checked->file.sections.front();
        return values.empty() ? section.values.empty() : SameValue(values.front(), section.values.front());
    };
    for (const std::wstring& backupFolder : folders) {
        if (std::wstring path = SaveIn(backupFolder, fileName, bytes, holds, &*file); !path.empty())
            return {BackupStatus::Saved, std::move(path), std::move(values), std::move(*file)};
    }
    return {BackupStatus::NotSaved, {}, {}, {}};
}

} // namespace qm
