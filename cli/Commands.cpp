#include "cli/Commands.h"

#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "backup/EntryOperations.h"
#include "cli/Arguments.h"
#include "cli/Compare.h"
#include "cli/Help.h"
#include "cli/Listing.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

namespace qm::cli {

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

// A message on standard error; one that cannot be written has nowhere else to go.
void Say(Streams streams, const std::wstring& message)
{
    static_cast<void>(streams.err.Write(L"quillmoor-cli: " + message + kLineEnd));
}

int Fail(Streams streams, const std::wstring& reason)
{
    Say(streams, reason);
    return kExitFailed;
}

[[nodiscard]] int Print(Streams streams, const std::wstring& text)
{
    return streams.out.Write(text) ? kExitDone : Fail(streams, L"standard output could not be written");
}

// An entry as messages name it, on one line.
std::wstring Label(const std::wstring& name)
{
    return name.empty() ? L"the default value" : L"\"" + OneLine(name) + L"\"";
}

std::wstring NoSuchEntry(const StartupKey& key, const std::wstring& name)
{
    return std::wstring(key.name) + (name.empty() ? L" has no default value" : L" has no entry " + Label(name));
}

std::wstring Unreadable(const StartupKey& key)
{
    return std::wstring(key.name) + L" cannot be read: access refused";
}

std::wstring Quoted(const std::wstring& path)
{
    return L"'" + OneLine(path) + L"'";
}

// A folder as an absolute path without a trailing separator, so that the backup paths
// printed stay valid from any working folder.
std::wstring FullFolderPath(const std::wstring& folder)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return folder;
    full.resize(length);
    while (full.size() > 1 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    return full;
}

std::vector<std::wstring> Folders(const Invocation& invocation)
{
    if (invocation.backupFolder)
        return {FullFolderPath(*invocation.backupFolder)};
    return BackupFolders();
}

enum class Presence { Present, Missing, Unreadable };

[[nodiscard]] Presence FindEntry(const StartupKey& key, const std::wstring& name)
{
    if (key.IsFolder())
        return IsPlainFolderItemName(name) && IsPlainFile(StartupFolderPath(key) + L"\\" + name) ? Presence::Present
                                                                                                : Presence::Missing;
    if (OpenStartupKeyForRead(key) && ReadValueRaw(RootKey(key), key.subKey, name, key.view))
        return Presence::Present;
    return ValueIsMissing(RootKey(key), key.subKey, name, key.view) ? Presence::Missing : Presence::Unreadable;
}

// Why an entry that is not there as asked cannot be acted on; empty when it is there.
[[nodiscard]] std::wstring Absence(const StartupKey& key, const std::wstring& name)
{
    switch (FindEntry(key, name)) {
    case Presence::Present: return {};
    case Presence::Missing: return NoSuchEntry(key, name);
    case Presence::Unreadable: break;
    }
    return Unreadable(key);
}

[[nodiscard]] int List(const Invocation& invocation, Streams streams)
{
    std::vector<const StartupKey*> unreadable;
    const Records records = EntryRecords(invocation.locations, invocation.verify, unreadable);
    const int printed = Print(streams, FormatRecords(records, invocation.format, invocation.wide));
    // What could be read is printed; a script must still not take a refused key for an empty one.
    for (const StartupKey* key : unreadable)
        Say(streams, Unreadable(*key));
    return unreadable.empty() ? printed : kExitFailed;
}

[[nodiscard]] int Backups(const Invocation& invocation, Streams streams)
{
    const std::vector<std::wstring> folders = Folders(invocation);
    if (invocation.backupFolder) {
        const DWORD attributes = GetFileAttributesW(folders.front().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return Fail(streams, Quoted(folders.front()) + L" is not a folder");
    }
    return Print(streams, FormatRecords(BackupRecords(folders), invocation.format, invocation.wide));
}

// The path of the backup a change saved, on standard output; a change that stands although
// its backup's path could not be printed is done in part.
[[nodiscard]] int PrintBackupPath(Streams streams, const std::wstring& what, const std::wstring& backupPath, int exitCode)
{
    if (backupPath.empty() || streams.out.Write(backupPath + kLineEnd))
        return exitCode;
    Say(streams, what + L"; its backup is " + Quoted(backupPath) + L", but standard output could not be written");
    return kExitPartly;
}

[[nodiscard]] int Add(const Invocation& invocation, Streams streams)
{
    const StartupKey& key = *invocation.locations.front();
    const std::wstring label = Label(invocation.name);
    if (key.IsFolder())
        return Fail(streams, label + L" was not added: " + key.name + L" is a folder; entries are added to registry keys");
    const ChangeResult added = AddStartupEntry(key, invocation.name, invocation.commandLine, Folders(invocation));
    switch (added.why) {
    case Why::None: return PrintBackupPath(streams, label + L" was replaced", added.backupPath, kExitDone);
    case Why::NameRefused:
        return Fail(streams, label + L" was not added: a name cannot hold a line break or a NUL character");
    case Why::BackupNotSaved:
        return Fail(streams, label + L" was not replaced because its backup copy could not be saved");
    case Why::StateNotCleared:
        Say(streams, label + L" was written, but its StartupApproved value could not be removed: Windows keeps it disabled");
        return PrintBackupPath(streams, label + L" was written", added.backupPath, kExitPartly);
    default: break;
    }
    return Fail(streams, label + L" was not written: " + key.fullPath + L" is missing or refused the write");
}

[[nodiscard]] int Remove(const Invocation& invocation, Streams streams)
{
    const StartupKey& key = *invocation.locations.front();
    const std::wstring label = Label(invocation.name);
    if (const std::wstring reason = Absence(key, invocation.name); !reason.empty())
        return Fail(streams, reason);
    if (invocation.noBackup && !NameHasNoBackupSpelling(invocation.name))
        return Fail(streams, label + L" was not removed: a backup file can hold it, so --no-backup does not apply");
    RemoveOptions options;
    options.withoutBackupWhenNoneCanHoldIt = invocation.noBackup;
    const ChangeResult removed = RemoveStartupEntry(key, invocation.name, Folders(invocation), options);
    switch (removed.why) {
    case Why::None:
        if (removed.backupPath.empty())
            Say(streams, label + L" was removed without a backup");
        return PrintBackupPath(streams, label + L" was removed", removed.backupPath, kExitDone);
    case Why::StateNotCleared:
        Say(streams, label + L" was removed, but its StartupApproved value could not be removed");
        return PrintBackupPath(streams, label + L" was removed", removed.backupPath, kExitPartly);
    case Why::NoSuchEntry: return Fail(streams, NoSuchEntry(key, invocation.name));
    case Why::NoBackupPossible:
        return Fail(streams, label + L" was not removed: no backup file can hold a name with a line break or a NUL "
            L"character; --no-backup removes it without one");
    case Why::BackupNotSaved:
        return Fail(streams, label + L" was not removed because its backup copy could not be saved");
    case Why::ChangedMeanwhile:
        return Fail(streams, label + L" was not removed: it changed while its backup was being saved");
    default: break;
    }
    return Fail(streams, label + L" was not removed: access refused");
}

[[nodiscard]] int SetEnabled(const Invocation& invocation, Streams streams, bool enabled)
{
    const StartupKey& key = *invocation.locations.front();
    if (!key.HasApprovedKey())
        return Fail(streams, std::wstring(key.name) + L" has no StartupApproved key: Windows keeps no enabled state for its entries");
    if (const std::wstring reason = Absence(key, invocation.name); !reason.empty())
        return Fail(streams, reason);
    if (!SetStartupEnabled(key, invocation.name, enabled))
        return Fail(streams, Label(invocation.name) + L" was not " + (enabled ? L"enabled" : L"disabled") + L": " +
            key.approvedFullPath + L" refused the write");
    return kExitDone;
}

[[nodiscard]] int Restore(const Invocation& invocation, Streams streams)
{
    const std::wstring& file = invocation.file;
    if (!IsPlainFile(file))
        return Fail(streams, Quoted(file) + L" is not a file");
    const ChangeResult restored = RestoreFromBackup(file, Folders(invocation));
    const std::wstring label = Label(restored.entryName);
    const std::wstring kept = L" (" + Quoted(file) + L" is kept)";
    switch (restored.why) {
    case Why::None: break;
    case Why::NotAStartupBackup:
        return Fail(streams, Quoted(file) + L" is not a backup of a startup entry and was not imported");
    case Why::ReplacedNotSaved:
        return Fail(streams, label + L" was not restored because the entry it would replace could not be saved");
    case Why::AccessRefused:
        return Fail(streams, label + L" was not restored: its StartupApproved value cannot be changed, access refused");
    case Why::StateNotCleared:
        Say(streams, label + L" is restored, but its StartupApproved value could not be removed" + kept);
        return PrintBackupPath(streams, label + L" is restored", restored.backupPath, kExitPartly);
    default:
        if (restored.outcome == Outcome::NotDone)
            return Fail(streams, label + L" could not be restored" + kept);
        Say(streams, label + L" was not restored exactly" + kept);
        return PrintBackupPath(streams, label + L" was not restored exactly", restored.backupPath, kExitPartly);
    }
    if (restored.keepRestoredBackup)
        Say(streams, label + L" is restored; " + Quoted(file) + L" is kept: it was written for a code page this computer "
            L"may not use, so the restored text cannot be checked");
    // The entry is verified to be back: a file left behind is only clutter, not a failure.
    else if (!DeleteBackup(file))
        Say(streams, label + L" is restored; " + Quoted(file) + L" could not be deleted");
    return PrintBackupPath(streams, label + L" is restored", restored.backupPath, kExitDone);
}

// A listing file's entries; nothing, with the reason said, when it cannot be read or is not one.
std::optional<std::vector<ListedEntry>> ReadListingFile(Streams streams, const std::wstring& file)
{
    const auto bytes = IsPlainFile(file) ? ReadWholeFile(file) : std::nullopt;
    if (!bytes) {
        Say(streams, Quoted(file) + L" cannot be read");
        return std::nullopt;
    }
    ListingRead read = ReadListing(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (!read.entries)
        Say(streams, Quoted(file) + L" is not a listing of startup entries: " + read.error);
    return std::move(read.entries);
}

[[nodiscard]] int Compare(const Invocation& invocation, Streams streams)
{
    const auto baseline = ReadListingFile(streams, invocation.file);
    if (!baseline)
        return kExitFailed;
    std::vector<ListedEntry> current;
    if (invocation.currentFile) {
        auto read = ReadListingFile(streams, *invocation.currentFile);
        if (!read)
            return kExitFailed;
        current = std::move(*read);
    } else {
        std::vector<const StartupKey*> unreadable;
        current = ListedEntries(EntryRecords(invocation.locations, false, unreadable));
        // A key that cannot be read would show all its entries as removed.
        if (!unreadable.empty())
            return Fail(streams, Unreadable(*unreadable.front()));
    }
    const Records differences = CompareListings(*baseline, current, {invocation.ignoreEnabled, invocation.locations});
    const int printed = Print(streams, FormatRecords(differences, invocation.format, invocation.wide));
    return printed == kExitDone && !differences.rows.empty() ? kExitDrift : printed;
}

std::wstring VersionLine()
{
    const Version version = App().AppVersion();
    return App().Title() + L" Version " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
        std::to_wstring(version.revision) + kLineEnd;
}

} // namespace

int RunCommandLine(const std::vector<std::wstring>& arguments, Streams streams)
{
    const ParseResult parsed = ParseArguments(arguments);
    if (!parsed.invocation) {
        const std::wstring more = parsed.command == Command::Program
            ? L"quillmoor-cli --help"
            : L"quillmoor-cli " + std::wstring(CommandName(parsed.command)) + L" --help";
        Say(streams, parsed.error);
        static_cast<void>(streams.err.Write(Usage(parsed.command) + L"'" + more + L"' tells more." + kLineEnd));
        return kExitUsage;
    }
    const Invocation& invocation = *parsed.invocation;
    if (invocation.help)
        return Print(streams, HelpText(invocation.command));
    switch (invocation.command) {
    case Command::Program: break;
    case Command::List: return List(invocation, streams);
    case Command::Add: return Add(invocation, streams);
    case Command::Remove: return Remove(invocation, streams);
    case Command::Disable: return SetEnabled(invocation, streams, false);
    case Command::Enable: return SetEnabled(invocation, streams, true);
    case Command::Backups: return Backups(invocation, streams);
    case Command::Restore: return Restore(invocation, streams);
    case Command::Compare: return Compare(invocation, streams);
    }
    return Print(streams, VersionLine());
}

} // namespace qm::cli
