#include "support/OwnRegistryEditor.h"

#include "backup/AnsiCodePage.h"
#include "backup/RegFileFormat.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"

namespace qmtest {

bool ImportBackupFile(const std::wstring& path)
{
    const auto bytes = qm::ReadWholeFile(path);
    if (!bytes)
        return false;
    const auto parsed = qm::ParseRegFile(*bytes, qm::AnsiCodePage{});
    if (!parsed.file)
        return false;
    for (const auto& section : parsed.file->sections) {
        const qm::StartupKey* key = qm::FindStartupKey(section.keyPath);
        const qm::StartupKey* owner = qm::FindKeyByApprovedPath(section.keyPath);
        if (!key && !owner)
            return false;
        for (const auto& value : section.values) {
            const qm::RawValue raw{value.type, {value.data.begin(), value.data.end()}};
            const bool written = key ? qm::WriteValueRaw(qm::RootKey(*key), key->subKey, value.name, raw, key->view, true)
                                     : qm::WriteValueRaw(qm::RootKey(*owner), owner->approvedSubKey, value.name, raw, 0, true);
            if (!written)
                return false;
        }
    }
    return true;
}

void ImportOnRun(ScriptedHost& host)
{
    host.onRun = [&host] {
        // The command line is: /s "<path>"
        const std::wstring& parameters = host.runs.back().parameters;
        const auto open = parameters.find(L'"');
        const auto close = parameters.rfind(L'"');
        if (open != std::wstring::npos && close > open)
            ImportBackupFile(parameters.substr(open + 1, close - open - 1));
    };
}

} // namespace qmtest
