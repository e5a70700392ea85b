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
        const qm::StartupLocation* location = qm::FindLocation(section.keyPath);
        if (!location)
            return false;
        for (const auto& value : section.values) {
            if (RegSetKeyValueW(qm::RootKey(*location), location->subKey, value.name.c_str(), value.type, value.data.data(),
                    static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
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
