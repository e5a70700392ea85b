#include "backup/BackupWriter.h"

#include "backup/AnsiCodePage.h"
#include "backup/RegFileFormat.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"

#include <algorithm>

namespace qm {

namespace {

// Enough candidates for any real folder; past them the backup counts as failed.
constexpr int kMaxBackupSuffix = 1000;

std::optional<RegValue> SingleValueOf(const std::vector<uint8_t>& bytes)
{
    const RegFileParse parsed = ParseRegFile(bytes, AnsiCodePage{});
    if (!parsed.file || parsed.file->sections.size() != 1 || parsed.file->sections[0].values.size() != 1)
        return std::nullopt;
    return parsed.file->sections[0].values[0];
}

enum class Slot { Free, Taken, Unknown };

// A missing or empty file, or one holding the backup of this very entry, may be (re)written;
// one that cannot be read might be anybody's, so it is neither replaced nor passed over.
Slot SlotFor(const std::wstring& path, const RegValue& value)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Slot::Free;
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return Slot::Unknown;
    if (bytes->empty())
        return Slot::Free;
    const auto held = SingleValueOf(*bytes);
    return held && held->name == value.name && EqualNoCase(held->keyPath, value.keyPath) ? Slot::Free : Slot::Taken;
}

// A name that would leave the folder, or land in an alternate stream that no listing
// shows, cannot hold a backup the user could find again.
bool UsableBaseName(const std::wstring& baseName)
{
    return baseName.find_first_of(L"\\/:") == std::wstring::npos;
}

} // namespace

std::wstring BackupBaseName(const std::wstring& entryName)
{
    // ".reg" alone would be a nameless file, and one that Wine hides from the backup list.
    if (entryName.empty())
        return L"(Default)";
    std::wstring baseName = entryName;
    std::replace(baseName.begin(), baseName.end(), L' ', L'_');
    return baseName;
}

std::optional<std::wstring> WriteBackupFile(const StartupLocation& location, const std::wstring& name,
    const std::wstring& baseName, const std::wstring& folder)
{
    if (!UsableBaseName(baseName))
        return std::nullopt;
    const auto raw = ReadValueRaw(RootKey(location), location.subKey, name);
    if (!raw)
        return std::nullopt;
    const RegValue value{location.fullPath, name, raw->type, std::vector<uint8_t>(raw->data.begin(), raw->data.end())};
    const std::vector<uint8_t> bytes = EncodeBackup(value, AnsiCodePage{});

    std::wstring path;
    for (int suffix = 1; suffix <= kMaxBackupSuffix && path.empty(); ++suffix) {
        const std::wstring candidate = folder + L"\\" + baseName + (suffix == 1 ? L"" : L"_" + std::to_wstring(suffix)) + L".reg";
        const Slot slot = SlotFor(candidate, value);
        if (slot == Slot::Unknown)
            return std::nullopt;
        if (slot == Slot::Free)
            path = candidate;
    }
    if (path.empty())
        return std::nullopt;

    if (WriteWholeFile(path, bytes) != ERROR_SUCCESS) {
        static_cast<void>(DeleteFileAt(path));
        return std::nullopt;
    }
    const auto written = ReadWholeFile(path);
    const auto readBack = written ? SingleValueOf(*written) : std::nullopt;
    // A backup the backups view would not list (Wine hides dot-files) cannot be restored.
    if (!readBack || !SameValue(value, *readBack) || FindFiles(path).empty()) {
        static_cast<void>(DeleteFileAt(path));
        return std::nullopt;
    }
    return path;
}

} // namespace qm
