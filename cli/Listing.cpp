#include "cli/Listing.h"

#include "backup/BackupRestore.h"
#include "host/Files.h"
#include "launch/FolderItems.h"
#include "launch/ProgramPath.h"
#include "launch/Signature.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdio>
#include <thread>

namespace qm::cli {

namespace {

constexpr std::array<const wchar_t*, 12> kTypeNames = {L"REG_NONE", L"REG_SZ", L"REG_EXPAND_SZ", L"REG_BINARY",
    L"REG_DWORD", L"REG_DWORD_BIG_ENDIAN", L"REG_LINK", L"REG_MULTI_SZ", L"REG_RESOURCE_LIST",
    L"REG_FULL_RESOURCE_DESCRIPTOR", L"REG_RESOURCE_REQUIREMENTS_LIST", L"REG_QWORD"};

const wchar_t* SourceName(StartupSource source)
{
    switch (source) {
    case StartupSource::RunOnce: return L"runonce";
    case StartupSource::Policy: return L"policy";
    case StartupSource::StartupFolder: return L"startup-folder";
    case StartupSource::Run: break;
    }
    return L"run";
}

Cell ProgramExists(ProgramCheck check)
{
    if (check == ProgramCheck::NotChecked)
        return NoValue{};
    return check == ProgramCheck::Found;
}

// The processors this process may run on.
unsigned ProcessorCount()
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0)
        return 1;
    return static_cast<unsigned>(std::popcount(static_cast<unsigned long long>(process)));
}

// Each file checked once, on up to one thread per processor; the results in the files' order.
std::vector<FileSignature> CheckFiles(const std::vector<std::wstring>& files)
{
    std::vector<FileSignature> results(files.size());
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++)
            results[i] = CheckFile(files[i]);
    };
    const std::size_t threadCount = std::min<std::size_t>(ProcessorCount(), files.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < threadCount; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return results;
}

// Fills company, signer and signature of every row whose program was found.
void AddSignatures(Records& records, const std::vector<std::wstring>& programs, bool verify)
{
    std::vector<std::wstring> files;
    for (const std::wstring& program : programs) {
        if (!program.empty() && std::find(files.begin(), files.end(), program) == files.end())
            files.push_back(program);
    }
    std::vector<FileSignature> checked;
    if (verify) {
        checked = CheckFiles(files);
    } else {
        for (const std::wstring& file : files)
            checked.push_back({SignatureStatus::NotChecked, {}, {}, ClaimedCompany(file)});
    }
    for (std::size_t row = 0; row < programs.size(); ++row) {
        auto& cells = records.rows[row];
        const auto file = std::find(files.begin(), files.end(), programs[row]);
        if (file == files.end()) {
            cells.insert(cells.end(), {std::wstring(), std::wstring(), verify ? Cell(std::wstring(L"not checked")) : NoValue{}});
            continue;
        }
        const FileSignature& signature = checked[static_cast<std::size_t>(file - files.begin())];
        cells.insert(cells.end(), {signature.company, signature.signer,
            verify ? Cell(std::wstring(SignatureStatusName(signature.status))) : NoValue{}});
    }
}

} // namespace

std::wstring TypeName(unsigned long type)
{
    return type < kTypeNames.size() ? kTypeNames[type] : std::to_wstring(type);
}

Records EntryRecords(const std::vector<const StartupKey*>& keys, bool verify, std::vector<const StartupKey*>& unreadable)
{
    Records records{{L"location", L"source", L"key", L"name", L"type", L"enabled", L"command", L"program",
                        L"programExists", L"company", L"signer", L"signature"},
        {}};
    // The file each row's program was found in; empty when it was not.
    std::vector<std::wstring> programs;
    const auto addRow = [&records, &programs](const StartupKey& key, const std::wstring& keyPath, std::wstring name,
                            std::wstring type, bool enabled, std::wstring commandLine) {
        ProgramLookup program = FindProgram(commandLine);
        programs.push_back(program.check == ProgramCheck::Found ? program.path : std::wstring());
        records.rows.push_back({std::wstring(key.name), std::wstring(SourceName(key.source)), keyPath, std::move(name),
            std::move(type), enabled, std::move(commandLine), std::move(program.path), ProgramExists(program.check)});
    };
    for (const StartupKey* key : keys) {
        if (key->IsFolder()) {
            const DisabledEntries disabled = DisabledEntries::Read(*key);
            const std::wstring folder = StartupFolderPath(*key);
            for (FolderItem& item : ReadFolderItems(*key)) {
                const bool enabled = !disabled.Contains(item.fileName);
                addRow(*key, folder, std::move(item.fileName), L"file", enabled, std::move(item.command));
            }
            continue;
        }
        const RegKey opened = OpenStartupKeyForRead(*key);
        if (!opened) {
            // Many machines have no RunServices key: only a key that is there and refuses to be
            // read is a failure. The unnamed value asked about stands for any value of the key.
            if (!ValueIsMissing(RootKey(*key), key->subKey, L"", key->view))
                unreadable.push_back(key);
            continue;
        }
        const DisabledEntries disabled = DisabledEntries::Read(*key);
        const DWORD count = CountValues(opened.Get());
        for (DWORD i = 0; i < count; ++i) {
            // A value that vanished while it was listed is left out, as the window leaves it out.
            auto value = EnumValueRaw(opened.Get(), i);
            if (!value)
                continue;
            const bool enabled = !disabled.Contains(value->name);
            addRow(*key, key->fullPath, std::move(value->name), TypeName(value->value.type), enabled,
                ValueDataAsText(value->value));
        }
    }
    AddSignatures(records, programs, verify);
    return records;
}

// ISO 8601 in UTC, to the second, as scripts compare and sort it.
Cell WrittenAt(const std::wstring& path)
{
    const auto written = LastWriteTime(path);
    SYSTEMTIME utc{};
    if (!written || !FileTimeToSystemTime(&*written, &utc))
        return NoValue{};
    wchar_t text[24];
    swprintf(text, std::size(text), L"%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
        utc.wMinute, utc.wSecond);
    return std::wstring(text);
}

Records BackupRecords(const std::vector<std::wstring>& folders)
{
    Records records{{L"file", L"location", L"key", L"name", L"type", L"command", L"written"}, {}};
    for (BackupFile& file : ListBackups(folders)) {
        Cell written = WrittenAt(file.path);
        auto content = DescribeBackup(file.path);
        if (!content) {
            records.rows.push_back({std::move(file.path), NoValue{}, NoValue{}, NoValue{}, NoValue{}, NoValue{}, std::move(written)});
            continue;
        }
        const StartupKey* key = content->source;
        const bool folderItem = key && key->IsFolder();
        std::wstring command = folderItem ? FolderItemCommand(FolderItemCopyPath(file.path)) : std::move(content->command);
        records.rows.push_back({std::move(file.path), key ? Cell(std::wstring(key->name)) : Cell(NoValue{}),
            std::move(content->keyPath), std::move(content->name), folderItem ? L"file" : TypeName(content->type),
            std::move(command), std::move(written)});
    }
    return records;
}

} // namespace qm::cli
