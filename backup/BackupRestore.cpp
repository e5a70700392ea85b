#include "backup/BackupRestore.h"

#include "backup/AnsiCodePage.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

#include <algorithm>

namespace qm {

namespace {

constexpr size_t kExtensionLength = std::size(kBackupExtension) - 1;
// The registry editor may wait for elevation; a restore does not wait forever.
constexpr DWORD kRegistryEditorTimeoutMs = 60000;

// The ANSI code page, noting whether any text it decoded went beyond ASCII: REGEDIT4 text and
// string data are the only parts of a file it reads.
class NotingAnsiCodePage final : public AnsiCodec {
public:
    std::wstring Decode(const std::string& bytes) const override
    {
        beyondAscii_ = beyondAscii_ || std::any_of(bytes.begin(), bytes.end(), [](char c) {
            return static_cast<unsigned char>(c) > 0x7F;
        });
        return AnsiCodePage{}.Decode(bytes);
    }
    bool BeyondAscii() const { return beyondAscii_; }

private:
    mutable bool beyondAscii_ = false;
};

bool IsBackInRegistry(const RegValue& expected)
{
    std::optional<RawValue> raw;
    if (const StartupKey* key = FindStartupKey(expected.keyPath))
        raw = ReadValueRaw(RootKey(*key), key->subKey, expected.name, key->view);
    else if (const StartupKey* owner = FindKeyByApprovedPath(expected.keyPath))
        raw = ReadApprovedValue(*owner, expected.name);
    if (!raw)
        return false;
    const RegValue actual{expected.keyPath, expected.name, raw->type, std::vector<uint8_t>(raw->data.begin(), raw->data.end())};
    return SameValue(expected, actual);
}

bool IsGoneFromRegistry(const std::wstring& keyPath, const std::wstring& name)
{
    const StartupKey* owner = FindKeyByApprovedPath(keyPath);
    return owner && ValueIsMissing(RootKey(*owner), owner->approvedSubKey, name);
}

bool IsFolderItemBackup(const std::wstring& path)
{
    const auto backup = ReadStartupBackup(path);
    return backup && FolderItemSource(backup->file);
}

} // namespace

std::vector<BackupFile> ListBackups(const std::vector<std::wstring>& folders)
{
    std::vector<BackupFile> backups;
    for (const std::wstring& folder : folders) {
        const std::wstring pattern = folder + L"\\*" + kBackupExtension;
        std::vector<std::wstring> names = FindFiles(pattern);
        // Short 8.3 names let "*.reg" match longer extensions too.
        std::erase_if(names, [](const std::wstring& name) {
            return name.size() < kExtensionLength ||
                   lstrcmpiW(name.c_str() + name.size() - kExtensionLength, kBackupExtension) != 0;
        });
        for (const std::wstring& name : names) {
            // A Startup folder's .reg file saved as the copy beside its own backup is part of that backup.
            const bool isCopy = std::any_of(names.begin(), names.end(), [&](const std::wstring& other) {
                return other.size() == name.size() + kExtensionLength && EqualNoCase(other.substr(0, name.size()), name);
            }) && IsFolderItemBackup(folder + L"\\" + name + kBackupExtension);
            if (!isCopy)
                backups.push_back({folder + L"\\" + name, name.substr(0, name.size() - kExtensionLength)});
        }
    }
    return backups;
}

std::optional<CheckedBackup> CheckStartupBackup(std::vector<uint8_t> bytes)
{
    const NotingAnsiCodePage codePage;
    RegFileParse parsed = ParseRegFile(bytes, codePage);
    if (!parsed.file || !ValidateStartupBackup(*parsed.file).ok)
        return std::nullopt;
    return CheckedBackup{std::move(*parsed.file), std::move(bytes), codePage.BeyondAscii()};
}

std::optional<CheckedBackup> ReadStartupBackup(const std::wstring& path)
{
    auto bytes = ReadWholeFile(path);
    return bytes ? CheckStartupBackup(std::move(*bytes)) : std::nullopt;
}

std::wstring BackupEntryName(const RegFile& backup)
{
    if (FolderItemSource(backup))
        return FolderItemFileName(backup);
    const std::wstring& name = backup.sections.front().values.front().name;
    return name.empty() ? L"(Default)" : name;
}

const StartupKey* FolderItemSource(const RegFile& backup)
{
    const StartupKey* source = backup.sections.size() == 1 ? FindKeyByApprovedPath(backup.sections.front().keyPath) : nullptr;
    return source && source->IsFolder() ? source : nullptr;
}

std::wstring FolderItemCopyPath(const std::wstring& backupPath)
{
    return backupPath.substr(0, backupPath.size() - std::min(backupPath.size(), kExtensionLength));
}

bool DeleteBackup(const std::wstring& path)
{
    const auto backup = ReadStartupBackup(path);
    const bool deleted = DeleteFileAt(path);
    if (deleted && backup && FolderItemSource(backup->file))
        static_cast<void>(DeleteFileAt(FolderItemCopyPath(path)));
    return deleted;
}

std::optional<BackupContent> DescribeBackup(const std::wstring& path)
{
    const auto backup = ReadStartupBackup(path);
    if (!backup)
        return std::nullopt;
    const auto& sections = backup->file.sections;
    if (const StartupKey* folder = FolderItemSource(backup->file)) {
        BackupContent content{folder, StartupFolderPath(*folder), FolderItemFileName(backup->file), 0, {}, true};
        if (!sections.front().values.empty()) {
            const RegValue& state = sections.front().values.front();
            content.enabled = !IsDisabledValue(std::vector<BYTE>(state.data.begin(), state.data.end()));
        }
        return content;
    }
    // A checked backup's first value is the entry; a second section holds its state.
    const RegValue& entry = sections.front().values.front();
    BackupContent content{FindStartupKey(entry.keyPath), entry.keyPath, entry.name, entry.type,
        ValueDataAsText(RawValue{entry.type, std::vector<BYTE>(entry.data.begin(), entry.data.end())}), std::nullopt};
    if (sections.size() > 1) {
        const RegValue& state = sections[1].values.front();
        content.enabled = !IsDisabledValue(std::vector<BYTE>(state.data.begin(), state.data.end()));
    }
    return content;
}

bool ImportAndVerify(const CheckedBackup& backup)
{
    const auto copy = PrivateFileCopy::Create(backup.bytes, kBackupExtension);
    if (!copy)
        return false;
    const auto exitCode = App().Services().RunAndWait(WinDir() + L"\\regedit.exe", L"/s \"" + copy->Path() + L"\"",
        kRegistryEditorTimeoutMs);
    return exitCode && std::all_of(backup.file.sections.begin(), backup.file.sections.end(), [](const RegSection& section) {
        return std::all_of(section.values.begin(), section.values.end(), IsBackInRegistry) &&
            std::all_of(section.deletedValues.begin(), section.deletedValues.end(),
                [&section](const std::wstring& name) { return IsGoneFromRegistry(section.keyPath, name); });
    });
}

} // namespace qm
