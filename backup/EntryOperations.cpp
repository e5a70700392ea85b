#include "backup/EntryOperations.h"

#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"

namespace qm {

RemoveResult RemoveStartupEntry(const StartupKey& key, const std::wstring& name, const std::vector<std::wstring>& backupFolders)
{
    BackupResult backup = WriteBackup(key, name, backupFolders);
    if (backup.status == BackupStatus::ValueMissing)
        return {RemoveStatus::ValueMissing, {}};
    if (backup.status == BackupStatus::NotSaved || backup.status == BackupStatus::Unrepresentable)
        return {RemoveStatus::BackupNotSaved, {}};
    // Its enabled state goes with it, or it would silently disable a later entry of that name.
    const bool removed = DeleteValue(RootKey(key), key.subKey, name, key.view) && DeleteApprovedValue(key, name);
    return {removed ? RemoveStatus::Removed : RemoveStatus::NotRemoved, std::move(backup.path)};
}

AddResult AddStartupEntry(const StartupKey& key, const std::wstring& name, const std::wstring& commandLine,
    const std::vector<std::wstring>& backupFolders)
{
    BackupResult backup = WriteBackup(key, name, backupFolders);
    if (backup.status == BackupStatus::NotSaved || backup.status == BackupStatus::Unrepresentable)
        return {AddStatus::NotReplaced, {}};
    if (!SetStringValue(key.fullPath, name, commandLine))
        return {AddStatus::NotWritten, std::move(backup.path)};
    return {backup.status == BackupStatus::Saved ? AddStatus::Replaced : AddStatus::Added, std::move(backup.path)};
}

RestoreResult RestoreFromBackup(const std::wstring& path)
{
    const auto backup = ReadStartupBackup(path);
    if (!backup)
        return {RestoreStatus::NotAStartupBackup, {}};
    const bool restored = ImportAndVerify(*backup);
    return {restored ? RestoreStatus::Restored : RestoreStatus::NotRestored, BackupEntryName(backup->file)};
}

} // namespace qm
