#include "backup/EntryOperations.h"

#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

#include <optional>
#include <string_view>

namespace qm {

namespace {

ChangeResult NotDone(Why why)
{
    return {Outcome::NotDone, why, {}, {}, false};
}

// The entry's value and its StartupApproved value as they are now.
struct EntryState {
    std::optional<RawValue> value;
    std::optional<RawValue> approved;
};

EntryState ReadEntry(const StartupKey& key, const std::wstring& name)
{
    return {ReadValueRaw(RootKey(key), key.subKey, name, key.view), ReadApprovedValue(key, name)};
}

bool Same(const std::optional<RawValue>& a, const std::optional<RawValue>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
}

bool Same(const EntryState& a, const EntryState& b)
{
    return Same(a.value, b.value) && Same(a.approved, b.approved);
}

// The state these values (the entry's, then its state's) put in the registry.
EntryState StateOf(const std::vector<RegValue>& values)
{
    EntryState state;
    if (!values.empty())
        state.value = RawValue{values[0].type, values[0].data};
    if (values.size() > 1)
        state.approved = RawValue{values[1].type, values[1].data};
    return state;
}

// The StartupApproved key opened before anything is written, so that a key that refuses
// leaves the entry as it was; needed only when the entry has a state there.
class StateKey {
public:
    [[nodiscard]] bool Open(const StartupKey& key, const std::wstring& name)
    {
        if (key.HasApprovedKey())
            key_ = OpenKeyForChange(RootKey(key), key.approvedSubKey);
        return key_ || !ReadApprovedValue(key, name);
    }
    // The state goes with the entry, or it would silently disable a later entry of that name.
    [[nodiscard]] bool Clear(const std::wstring& name) const
    {
        return !key_ || DeleteValueOf(key_.Get(), name) != Deletion::Refused;
    }

private:
    RegKey key_;
};

void Discard(const std::wstring& backupPath)
{
    if (!backupPath.empty())
        static_cast<void>(DeleteBackup(backupPath));
}

// The folder of a backup file, then the given folders: the entry a restore replaces is saved
// where the user is looking.
std::vector<std::wstring> BesideFirst(const std::wstring& path, std::vector<std::wstring> folders)
{
    const auto slash = path.find_last_of(L"\\/");
    folders.insert(folders.begin(), slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash));
    return folders;
}

// Notes the backup of what a restore replaces; false when it was needed and not saved.
bool TookSafetyBackup(BackupResult saved, ChangeResult& result)
{
    if (saved.status == BackupStatus::Saved) {
        result.backupPath = std::move(saved.path);
    } else if (saved.status != BackupStatus::ValueMissing) {
        result.why = Why::ReplacedNotSaved;
        return false;
    }
    return true;
}

ChangeResult Finish(const StateKey& state, const std::wstring& name, std::wstring backupPath)
{
    const bool cleared = state.Clear(name);
    return {cleared ? Outcome::Done : Outcome::DoneInPart, cleared ? Why::None : Why::StateNotCleared,
        std::move(backupPath), {}, false};
}

std::optional<RawValue> StateOf(const BackupResult& backup)
{
    if (backup.values.empty())
        return std::nullopt;
    return RawValue{backup.values.front().type, backup.values.front().data};
}

// A Startup folder item goes as a Run entry goes: saved first, and kept when anything changed
// it meanwhile.
ChangeResult RemoveFolderItem(const StartupKey& source, const std::wstring& fileName,
    const std::vector<std::wstring>& backupFolders, const RemoveOptions& options)
{
    const std::wstring itemPath = StartupFolderPath(source) + L"\\" + fileName;
    if (!IsPlainFolderItemName(fileName) || !IsPlainFile(itemPath))
        return NotDone(Why::NoSuchEntry);
    StateKey state;
    if (!state.Open(source, fileName))
        return NotDone(Why::AccessRefused);
    BackupResult backup = WriteFolderItemBackup(source, fileName, backupFolders);
    if (backup.status == BackupStatus::ValueMissing)
        return NotDone(Why::NoSuchEntry);
    if (backup.status != BackupStatus::Saved)
        return NotDone(Why::BackupNotSaved);
    if (options.afterBackup)
        options.afterBackup();

    const auto now = ReadWholeFile(itemPath);
    if (!now || *now != backup.file || !Same(ReadApprovedValue(source, fileName), StateOf(backup))) {
        Discard(backup.path);
        return NotDone(now ? Why::ChangedMeanwhile : Why::NoSuchEntry);
    }
    if (!DeleteFileAt(itemPath)) {
        Discard(backup.path);
        return NotDone(IsPlainFile(itemPath) ? Why::AccessRefused : Why::NoSuchEntry);
    }
    return Finish(state, fileName, std::move(backup.path));
}

// The file written beside its final name and read back, then moved there in one step; true
// when the folder holds exactly these bytes under that name.
bool PutFileBack(const std::wstring& folder, const std::wstring& itemPath, const std::vector<uint8_t>& bytes)
{
    if (!CreateFolders(folder))
        return false;
    const std::wstring temporary = UniqueFileName(folder, L"~qm", L".tmp");
    const auto written = WriteWholeFile(temporary, bytes, Creation::NewOnly) == ERROR_SUCCESS ? ReadWholeFile(temporary)
                                                                                              : std::nullopt;
    if (!written || *written != bytes || MoveFileReplacing(temporary, itemPath) != ERROR_SUCCESS) {
        static_cast<void>(DeleteFileAt(temporary));
        return false;
    }
    return true;
}

// Puts a Startup folder item back: whatever file or state it replaces is saved first, then the
// file goes into its folder, the state into the registry, and both are read back.
ChangeResult RestoreFolderItem(const std::wstring& path, const CheckedBackup& backup, const StartupKey& source,
    const std::vector<std::wstring>& backupFolders)
{
    const std::wstring fileName = FolderItemFileName(backup.file);
    ChangeResult result = NotDone(Why::None);
    result.entryName = fileName;
    result.keepRestoredBackup = backup.dependsOnCodePage;
    const auto copy = ReadWholeFile(FolderItemCopyPath(path));
    const std::wstring folder = StartupFolderPath(source);
    if (!copy || folder.empty()) {
        result.why = Why::NotAStartupBackup;
        return result;
    }
    const std::wstring itemPath = folder + L"\\" + fileName;
    StateKey state;
    if (!state.Open(source, fileName)) {
        result.why = Why::AccessRefused;
        return result;
    }
    const RegSection& section = backup.file.sections.front();
    const std::optional<RawValue> wantedState =
        section.values.empty() ? std::nullopt : std::optional(RawValue{section.values.front().type, section.values.front().data});
    const auto fileBefore = ReadWholeFile(itemPath);
    const auto stateBefore = ReadApprovedValue(source, fileName);
    const auto isAsWanted = [&](const std::optional<std::vector<uint8_t>>& file, const std::optional<RawValue>& stateNow) {
        return file && *file == *copy && Same(stateNow, wantedState);
    };
    if (fileBefore && !isAsWanted(fileBefore, stateBefore)) {
        if (!TookSafetyBackup(WriteFolderItemBackup(source, fileName, BesideFirst(path, backupFolders)), result))
            return result;
    }
    const bool filePut = (fileBefore && *fileBefore == *copy) || PutFileBack(folder, itemPath, *copy);
    const bool statePut = filePut && (wantedState ? ImportAndVerify(backup) : state.Clear(fileName));
    if (!statePut || !isAsWanted(ReadWholeFile(itemPath), ReadApprovedValue(source, fileName))) {
        result.why = Why::NotVerified;
        const bool unchanged = ReadWholeFile(itemPath) == fileBefore && Same(ReadApprovedValue(source, fileName), stateBefore);
        if (unchanged) {
            Discard(result.backupPath);
            result.backupPath.clear();
        } else {
            result.outcome = Outcome::DoneInPart;
        }
        return result;
    }
    result.outcome = Outcome::Done;
    return result;
}

} // namespace

bool NameHasNoBackupSpelling(const std::wstring& name)
{
    return name.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos;
}

ChangeResult RemoveStartupEntry(const StartupKey& key, const std::wstring& name,
    const std::vector<std::wstring>& backupFolders, const RemoveOptions& options)
{
    if (key.IsFolder())
        return RemoveFolderItem(key, name, backupFolders, options);
    const RegKey run = OpenStartupKeyForChange(key);
    StateKey state;
    if (!run || !state.Open(key, name))
        return NotDone(ValueIsMissing(RootKey(key), key.subKey, name, key.view) ? Why::NoSuchEntry : Why::AccessRefused);

    BackupResult backup{BackupStatus::NotSaved, {}, {}, {}};
    if (!NameHasNoBackupSpelling(name)) {
        backup = WriteBackup(key, name, backupFolders);
        if (backup.status == BackupStatus::ValueMissing)
            return NotDone(Why::NoSuchEntry);
        if (backup.status != BackupStatus::Saved)
            return NotDone(Why::BackupNotSaved);
    } else {
        const EntryState now = ReadEntry(key, name);
        if (!now.value)
            return NotDone(Why::NoSuchEntry);
        if (!options.withoutBackupWhenNoneCanHoldIt)
            return NotDone(Why::NoBackupPossible);
    }
    const EntryState removing = backup.path.empty() ? ReadEntry(key, name) : StateOf(backup.values);
    if (options.afterBackup)
        options.afterBackup();

    // Whatever changed the entry meanwhile (another removal, an installer) wins: a backup of
    // what is no longer there is no backup of this removal.
    const EntryState now = ReadEntry(key, name);
    if (!Same(now, removing)) {
        Discard(backup.path);
        return NotDone(now.value ? Why::ChangedMeanwhile : Why::NoSuchEntry);
    }
    switch (DeleteValueOf(run.Get(), name)) {
    case Deletion::Deleted: break;
    case Deletion::Missing: Discard(backup.path); return NotDone(Why::NoSuchEntry);
    case Deletion::Refused: Discard(backup.path); return NotDone(Why::AccessRefused);
    }
    return Finish(state, name, std::move(backup.path));
}

ChangeResult AddStartupEntry(const StartupKey& key, const std::wstring& name, const std::wstring& commandLine,
    const std::vector<std::wstring>& backupFolders)
{
    // Such an entry could never be saved again, and so never removed or replaced.
    if (NameHasNoBackupSpelling(name))
        return NotDone(Why::NameRefused);
    if (key.IsFolder())
        return NotDone(Why::AccessRefused);
    const RegKey run = OpenStartupKeyForChange(key);
    StateKey state;
    if (!run || !state.Open(key, name))
        return NotDone(Why::AccessRefused);
    BackupResult backup = WriteBackup(key, name, backupFolders);
    if (backup.status != BackupStatus::Saved && backup.status != BackupStatus::ValueMissing)
        return NotDone(Why::BackupNotSaved);
    const auto* text = reinterpret_cast<const BYTE*>(commandLine.c_str());
    const RawValue value{REG_SZ, std::vector<BYTE>(text, text + (commandLine.size() + 1) * sizeof(wchar_t))};
    if (!SetValueOf(run.Get(), name, value)) {
        Discard(backup.path);
        return NotDone(Why::AccessRefused);
    }
    return Finish(state, name, std::move(backup.path));
}

ChangeResult RestoreFromBackup(const std::wstring& path, const std::vector<std::wstring>& backupFolders)
{
    const auto backup = ReadStartupBackup(path);
    if (!backup)
        return NotDone(Why::NotAStartupBackup);
    if (const StartupKey* folder = FolderItemSource(backup->file))
        return RestoreFolderItem(path, *backup, *folder, backupFolders);
    std::vector<RegValue> restores;
    for (const RegSection& section : backup->file.sections)
        restores.push_back(section.values.front());
    const StartupKey& key = *FindStartupKey(restores.front().keyPath);
    const std::wstring& name = restores.front().name;
    ChangeResult result = NotDone(Why::None);
    result.entryName = BackupEntryName(backup->file);
    result.keepRestoredBackup = backup->dependsOnCodePage;

    StateKey state;
    if (!state.Open(key, name)) {
        result.why = Why::AccessRefused;
        return result;
    }
    // What the restore would replace is saved first, as an add saves what it replaces.
    const EntryState before = ReadEntry(key, name);
    if (!Same(before, StateOf(restores))) {
        if (!TookSafetyBackup(WriteBackup(key, name, BesideFirst(path, backupFolders)), result))
            return result;
    }
    if (!ImportAndVerify(*backup)) {
        result.why = Why::NotVerified;
        // An import that changed nothing replaced nothing: its backup would only mislead.
        if (Same(ReadEntry(key, name), before)) {
            Discard(result.backupPath);
            result.backupPath.clear();
        } else {
            result.outcome = Outcome::DoneInPart;
        }
        return result;
    }
    // A backup of an enabled entry brings it back enabled, whatever state was left behind.
    const bool cleared = restores.size() > 1 || state.Clear(name);
    result.outcome = cleared ? Outcome::Done : Outcome::DoneInPart;
    result.why = cleared ? Why::None : Why::StateNotCleared;
    return result;
}

} // namespace qm
