#include "backup/BackupRestore.h"

#include "backup/AnsiCodePage.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"

#include <algorithm>

namespace qm {

namespace {

constexpr size_t kExtensionLength = std::size(kBackupExtension) - 1;
// The registry editor may wait for elevation; a restore does not wait forever.
constexpr DWORD kRegistryEditorTimeoutMs = 60000;

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

} // namespace

std::vector<BackupFile> ListBackups(const std::vector<std::wstring>& folders)
{
    std::vector<BackupFile> backups;
    for (const std::wstring& folder : folders) {
        const std::wstring pattern = folder + L"\\*" + kBackupExtension;
        for (const std::wstring& name : FindFiles(pattern)) {
            // Short 8.3 names let "*.reg" match longer extensions too.
            if (name.size() < kExtensionLength ||
                lstrcmpiW(name.c_str() + name.size() - kExtensionLength, kBackupExtension) != 0)
                continue;
            backups.push_back({folder + L"\\" + name, name.substr(0, name.size() - kExtensionLength)});
        }
    }
    return backups;
}

std::optional<CheckedBackup> ReadStartupBackup(const std::wstring& path)
{
    auto bytes = ReadWholeFile(path);
    RegFileParse parsed = bytes ? ParseRegFile(*bytes, AnsiCodePage{}) : RegFileParse{};
    if (!parsed.file || !ValidateStartupBackup(*parsed.file).ok)
        return std::nullopt;
    return CheckedBackup{std::move(*parsed.file), std::move(*bytes), false};
}

std::wstring BackupEntryName(const RegFile& backup)
{
    const std::wstring& name = backup.sections.front().values.front().name;
    return name.empty() ? L"(Default)" : name;
}

bool ImportAndVerify(const CheckedBackup& backup)
{
    const auto copy = PrivateFileCopy::Create(backup.bytes, kBackupExtension);
    if (!copy)
        return false;
    const auto exitCode = App().Services().RunAndWait(WinDir() + L"\\regedit.exe", L"/s \"" + copy->Path() + L"\"",
        kRegistryEditorTimeoutMs);
    return exitCode && std::all_of(backup.file.sections.begin(), backup.file.sections.end(), [](const RegSection& section) {
        return std::all_of(section.values.begin(), section.values.end(), IsBackInRegistry);
    });
}

} // namespace qm
