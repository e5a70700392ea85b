// Removing one entry from a key of 10,000 values through the main window (backup written,
// read back and checked, value deleted, lists refilled) and restoring it from its backup.
// The restore's registry editor is scripted: it imports the backup with our own parser and
// RegSetValueExW, so that no registry editor process start is part of the figure.

#include "BenchSupport.h"

#include "app/BackupsView.h"
#include "app/EntryCommands.h"
#include "app/FrmMain.h"
#include "backup/AnsiCodePage.h"
#include "backup/RegFileFormat.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <vector>

namespace {

constexpr int kRuns = 15;
constexpr int kValues = 10000;
constexpr wchar_t kEntry[] = L"Bench Entry";
constexpr wchar_t kEntryData[] = L"\"C:\\Program Files\\Bench\\entry.exe\" /start";
constexpr wchar_t kBackupName[] = L"Bench_Entry";

// What "regedit /s <file>" does with a backup, done in this process so that it lands in the sandbox.
bool ImportRegFile(const std::wstring& path)
{
    const auto bytes = qm::ReadWholeFile(path);
    const qm::RegFileParse parsed = bytes ? qm::ParseRegFile(*bytes, qm::AnsiCodePage{}) : qm::RegFileParse{};
    if (!parsed.file)
        return false;
    for (const qm::RegSection& section : parsed.file->sections) {
        const size_t slash = section.keyPath.find(L'\\');
        const HKEY root = qm::GetRootKey(section.keyPath.substr(0, slash));
        HKEY key = nullptr;
        if (!root || slash == std::wstring::npos ||
            RegCreateKeyExW(root, section.keyPath.c_str() + slash + 1, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                nullptr) != ERROR_SUCCESS)
            return false;
        for (const qm::RegValue& value : section.values)
            RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }
    return true;
}

bool Select(qm::ListBox& list, const std::wstring& text)
{
    const LRESULT index = SendMessageW(list.Hwnd(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
        reinterpret_cast<LPARAM>(text.c_str()));
    if (index == LB_ERR)
        return false;
    list.SetSelectedIndex(static_cast<int>(index));
    return true;
}

void RemoveBackups()
{
    for (const std::wstring& name : qm::FindFiles(qm::App().Folder() + L"\\Bench_Entry*.reg"))
        static_cast<void>(qm::DeleteFileAt(qm::App().Folder() + L"\\" + name));
}

} // namespace

int wmain()
{
    qmtest::RegistrySandbox sandbox(L"Bench.Removal");
    qmtest::ScriptedHost host;
    host.onRun = [&host] {
        const std::wstring& parameters = host.runs.back().parameters; // /s "<path>"
        const size_t open = parameters.find(L'"');
        const size_t close = parameters.rfind(L'"');
        const bool imported = open != std::wstring::npos && close > open &&
                              ImportRegFile(parameters.substr(open + 1, close - open - 1));
        host.runAndWaitAnswer = imported ? std::optional<DWORD>(0) : std::nullopt;
    };
    if (!qmbench::SeedValues(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kValues, kEntry, kEntryData))
        return 1;
    RemoveBackups();
    qm::FrmMain main;
    if (!main.Load())
        return 1;
    main.Show();
    qm::App().DoEvents();

    std::vector<double> removals, restores, listings;
    for (int run = 0; run < kRuns; ++run) {
        listings.push_back(qmbench::TimeMs([&] { main.ListLocation(1); }));
        if (!Select(main.nameList, kEntry)) {
            qmbench::Print("run %d: %ls is not listed\n", run, kEntry);
            return 1;
        }
        host.messageBoxAnswers = {IDYES, IDOK};
        removals.push_back(qmbench::TimeMs([&] { qm::RemoveSelectedEntry(main); }));
        const bool removed = !qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kEntry) &&
                             qm::IsPlainFile(qm::App().Folder() + L"\\" + kBackupName + L".reg");

        host.messageBoxes.clear();
        if (!removed || !Select(main.backupList, kBackupName)) {
            qmbench::Print("run %d: the entry was not removed with a backup\n", run);
            return 1;
        }
        restores.push_back(qmbench::TimeMs([&] { qm::RestoreSelectedBackup(main); }));
        const bool restored = qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kEntry) &&
                              host.messageBoxes.size() == 1 && host.messageBoxes[0].title == L"Process Restored" &&
                              main.backupList.Count() == 0 && main.nameList.Count() == kValues;
        if (!restored) {
            qmbench::Print("run %d: the entry was not restored\n", run);
            return 1;
        }
    }
    RemoveBackups();

    qmbench::Print("Removal and restore of one entry in a sandboxed key of %d values, median of %d runs:\n", kValues, kRuns);
    qmbench::Print("  remove  (confirm, backup written, read back and checked, value deleted, lists refilled): %8.2f ms\n",
        qmbench::Median(removals));
    qmbench::Print("  restore (backup checked, imported, verified, file deleted, lists refilled):               %8.2f ms\n",
        qmbench::Median(restores));
    qmbench::Print("  for comparison, ListLocation of the same key alone:                                       %8.2f ms\n",
        qmbench::Median(listings));
    qmbench::Print("  the registry editor is scripted: it imports the backup in-process with ParseRegFile and\n"
                   "  RegSetValueExW, so no registry editor process start is timed\n");
    return 0;
}
