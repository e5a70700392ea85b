#include "backup/BackupRestore.h"

#include "backup/AnsiCodePage.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"

#include <algorithm>

namespace qm {

namespace {

constexpr size_t kExtensionLength = std::size(kBackupExtension) - 1;
// The registry editor may wait for elevation; a restore does not wait forever.
constexpr DWORD kRegistryEditorTimeoutMs = 60000;

bool IsBackInRegistry(const RegValue& expected)
{
    const StartupLocation* location = FindLocation(expected.keyPath);
    if (!location)
        return false;
    const auto raw = ReadValueRaw(RootKey(*location), location->subKey, expected.name);
    if (!raw)
        return false;
    const RegValue actual{expected.keyPath, expected.name, raw->type, std::vector<uint8_t>(raw->data.begin(), raw->data.end())};
    return SameValue(expected, actual);
}

} // namespace

std::vector<std::wstring> ListBackupNames(const std::wstring& folder)
{
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L"*";
    pattern += kBackupExtension;
    std::vector<std::wstring> names;
    for (const std::wstring& name : FindFiles(pattern)) {
        // Short 8.3 names let "*.reg" match longer extensions too.
        if (name.size() < kExtensionLength ||
            lstrcmpiW(name.c_str() + name.size() - kExtensionLength, kBackupExtension) != 0)
            continue;
        names.push_back(name.substr(0, name.size() - kExtensionLength));
    }
    return names;
}

std::optional<RegFile> ReadStartupBackup(const std::wstring& path)
{
    const auto bytes = ReadWholeFile(path);
    RegFileParse parsed = bytes ? ParseRegFile(*bytes, AnsiCodePage{}) : RegFileParse{};
    if (!parsed.file || !ValidateStartupBackup(*parsed.file).ok)
        return std::nullopt;
    return std::move(parsed.file);
}

bool ImportAndVerify(const std::wstring& path, const RegFile& backup)
{
    const auto exitCode =
        App().Services().RunAndWait(WinDir() + L"\\regedit.exe", L"/s \"" + path + L"\"", kRegistryEditorTimeoutMs);
    const auto& values = backup.sections.front().values;
    return exitCode && std::all_of(values.begin(), values.end(), IsBackInRegistry);
}

} // namespace qm
