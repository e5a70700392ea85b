#include "cli/Listing.h"

#include "backup/BackupRestore.h"
#include "host/Files.h"
#include "launch/ProgramPath.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"

#include <array>
#include <cstdio>

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

} // namespace

std::wstring TypeName(unsigned long type)
{
    return type < kTypeNames.size() ? kTypeNames[type] : std::to_wstring(type);
}

Records EntryRecords(const std::vector<const StartupKey*>& keys, std::vector<const StartupKey*>& unreadable)
{
    Records records{
        {L"location", L"source", L"key", L"name", L"type", L"enabled", L"command", L"program", L"programExists"}, {}};
    for (const StartupKey* key : keys) {
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
            std::wstring commandLine = ValueDataAsText(value->value);
            ProgramLookup program = FindProgram(commandLine);
            const bool enabled = !disabled.Contains(value->name);
            records.rows.push_back({std::wstring(key->name), std::wstring(SourceName(key->source)), std::wstring(key->fullPath),
                std::move(value->name), TypeName(value->value.type), enabled, std::move(commandLine), std::move(program.path),
                ProgramExists(program.check)});
        }
    }
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
        const StartupKey* key = FindStartupKey(content->keyPath);
        records.rows.push_back({std::move(file.path), key ? Cell(std::wstring(key->name)) : Cell(NoValue{}),
            std::move(content->keyPath), std::move(content->name), TypeName(content->type), std::move(content->command),
            std::move(written)});
    }
    return records;
}

} // namespace qm::cli
