#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/Handles.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>

// The real quillmoor-cli.exe, killed at random instants. A process of its own cannot see the
// test's registry redirection, so this runs only in the private Wine prefix, on an entry of
// its own in the prefix's HKCU Run key and a shortcut of its own in its user's Startup folder.
namespace {

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

int KillCycles()
{
    const wchar_t* asked = _wgetenv(L"QM_KILL_CYCLES");
    const int cycles = asked ? _wtoi(asked) : 0;
    return cycles > 0 ? cycles : 24;
}

std::vector<BYTE> Text(const std::wstring& text)
{
    const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {p, p + (text.size() + 1) * sizeof(wchar_t)};
}

// An entry's value (a Startup folder item's file) and its state, as they are or as a command
// should leave them.
struct Entry {
    std::optional<qm::RawValue> value;
    std::optional<qm::RawValue> state;
};

bool Same(const std::optional<qm::RawValue>& a, const std::optional<qm::RawValue>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
}

// What the commands work on: a Run value or a Startup folder file, by the name the CLI takes.
struct Subject {
    const qm::StartupKey& key;
    std::wstring name;

    bool InFolder() const { return key.IsFolder(); }
    std::wstring File() const { return qm::StartupFolderPath(key) + L"\\" + name; }
    std::wstring Location() const { return InFolder() ? L"startup-user" : L"hkcu"; }

    Entry Now() const
    {
        Entry entry{std::nullopt, qm::ReadApprovedValue(key, name)};
        if (!InFolder())
            entry.value = qm::ReadValueRaw(HKEY_CURRENT_USER, key.subKey, name);
        else if (auto bytes = qm::ReadWholeFile(File()))
            entry.value = qm::RawValue{REG_BINARY, std::move(*bytes)};
        return entry;
    }

    void Set(const Entry& entry) const
    {
        if (InFolder())
            static_cast<void>(qm::DeleteFileAt(File()));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key.subKey, name.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.approvedSubKey, name.c_str());
        if (entry.value) {
            ASSERT_TRUE(InFolder() ? qmtest::PutFile(File(), entry.value->data)
                                   : qm::WriteValueRaw(HKEY_CURRENT_USER, key.subKey, name, *entry.value, 0, true));
        }
        if (entry.state) {
            ASSERT_TRUE(qm::WriteValueRaw(HKEY_CURRENT_USER, key.approvedSubKey, name, *entry.state, 0, true));
        }
    }

    // The backup at path holds exactly this entry: its value or file, and its state when it
    // has one (a folder item's backup deletes the state it had not).
    bool Holds(const std::wstring& path, const qm::CheckedBackup& backup, const Entry& entry) const
    {
        const auto& sections = backup.file.sections;
        const auto sameValue = [](const qm::RegValue& a, const qm::RawValue& b) { return a.type == b.type && a.data == b.data; };
        if (!entry.value)
            return false;
        if (InFolder()) {
            const auto copy = qm::ReadWholeFile(qm::FolderItemCopyPath(path));
            if (!copy || *copy != entry.value->data || sections.size() != 1)
                return false;
            return entry.state ? sections[0].values.size() == 1 && sameValue(sections[0].values[0], *entry.state)
                               : sections[0].deletedValues == std::vector<std::wstring>{name};
        }
        if (sections.size() != (entry.state ? 2u : 1u) || sections[0].values[0].name != name ||
            !sameValue(sections[0].values[0], *entry.value))
            return false;
        return !entry.state || sameValue(sections[1].values[0], *entry.state);
    }
};

// The registry editors that run, as process ids with their parents'.
std::vector<std::pair<DWORD, DWORD>> RegistryEditors()
{
    std::vector<std::pair<DWORD, DWORD>> editors;
    const qm::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W process{};
    process.dwSize = sizeof(process);
    for (BOOL more = Process32FirstW(snapshot.get(), &process); more; more = Process32NextW(snapshot.get(), &process)) {
        if (lstrcmpiW(process.szExeFile, L"regedit.exe") == 0)
            editors.emplace_back(process.th32ProcessID, process.th32ParentProcessID);
    }
    return editors;
}

bool EditorStartedBy(DWORD parent)
{
    const auto editors = RegistryEditors();
    return std::any_of(editors.begin(), editors.end(), [parent](const auto& e) { return e.second == parent; });
}

// The test's own prefix holds no editor of anyone else's.
void EndRegistryEditors()
{
    for (const auto& [id, parent] : RegistryEditors()) {
        const qm::UniqueKernelHandle editor(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (editor)
            TerminateProcess(editor.get(), 1);
    }
}

class KillTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!UnderWine())
            GTEST_SKIP() << "needs the private Wine prefix";
        // The programs started here inherit handles; never the test's own output, which the
        // test runner reads until every holder has closed it.
        for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
            SetHandleInformation(GetStdHandle(stream), HANDLE_FLAG_INHERIT, 0);
        EndRegistryEditors();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"QmKillTest";
        Clean();
        ASSERT_TRUE(qm::CreateFolders(folder_));
    }
    void TearDown() override
    {
        // An editor left importing after its starter was killed is not left behind.
        EndRegistryEditors();
        if (!folder_.empty()) {
            for (const Subject* subject : {&runEntry_, &shortcut_})
                subject->Set({});
            Clean();
        }
    }
    void Clean()
    {
        for (const std::wstring& file : qm::FindFiles(folder_ + L"\\*"))
            static_cast<void>(qm::DeleteFileAt(folder_ + L"\\" + file));
        RemoveDirectoryW(folder_.c_str());
    }
    std::vector<qm::BackupFile> Backups() { return qm::ListBackups({folder_}); }

    // Starts the command line, kills it after delayMs (never, when negative) and waits until
    // it and any registry editor it started have ended; its exit code when it was not killed.
    std::optional<DWORD> RunCli(const std::wstring& arguments, int delayMs)
    {
        std::wstring commandLine = L"\"" + cli_ + L"\" " + arguments;
        // Without a console and with no pipe of the test's: a killed console program can leave
        // Wine's console host behind, and it would hold the test's output open.
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        const qm::UniqueFile nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
            &inherited, OPEN_EXISTING, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(cli_.c_str(), commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                &startup, &started))
            return std::nullopt;
        const qm::UniqueKernelHandle process(started.hProcess);
        const qm::UniqueKernelHandle thread(started.hThread);
        if (delayMs >= 0 && WaitForSingleObject(process.get(), static_cast<DWORD>(delayMs)) == WAIT_TIMEOUT)
            TerminateProcess(process.get(), 0xDEAD);
        WaitForSingleObject(process.get(), INFINITE);
        // The registry editor goes on importing after its starter was killed; only this run's
        // editor is waited for.
        for (int i = 0; i < 500 && EditorStartedBy(started.dwProcessId); ++i)
            Sleep(20);
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        return code == 0xDEAD ? std::nullopt : std::optional<DWORD>(code);
    }

    std::wstring cli_ = qm::App().Folder() + L"\\..\\quillmoor-cli.exe";
    std::wstring folder_;
    const Subject runEntry_{*qm::FindStartupKeyByName(L"hkcu"), L"QmKill Entry"};
    const Subject shortcut_{*qm::FindStartupKeyByName(L"startup-user"), L"QmKill.lnk"};
};

} // namespace

// Killed at any instant, the entry is as it was, or as the command leaves it with a verified
// backup of everything it removed or replaced; a backup file is whole or not there. For a Run
// value and for a Startup folder file alike.
TEST_F(KillTest, KilledAtAnyInstantNothingIsLost)
{
    ASSERT_TRUE(qm::IsPlainFile(cli_));
    ASSERT_TRUE(qm::CreateFolders(qm::StartupFolderPath(shortcut_.key)));
    std::mt19937 random(20261207);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::vector<BYTE> disabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::wstring commands[] = {L"remove", L"add", L"restore", L"disable", L"enable"};
    for (const Subject* subject : {&runEntry_, &shortcut_}) {
        SCOPED_TRACE(testing::PrintToString(subject->name));
        const auto item = [&](const std::wstring& text) {
            return qm::RawValue{static_cast<DWORD>(subject->InFolder() ? REG_BINARY : REG_SZ), Text(text)};
        };
        const std::wstring where = L" --location " + subject->Location() + L" --backup-folder \"" + folder_ + L"\" -- \"" +
                                   subject->name + L"\"";

        // How long a whole run takes, so that kills fall all along it.
        subject->Set({item(L"calibrate.exe"), std::nullopt});
        const ULONGLONG start = GetTickCount64();
        ASSERT_EQ(RunCli(L"remove" + where, -1), std::optional<DWORD>(0));
        const int span = static_cast<int>(GetTickCount64() - start) + 50;

        int killed = 0;
        int runs = 0;
        const int cycles = KillCycles();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            SCOPED_TRACE(cycle);
            subject->Set({});
            Clean();
            ASSERT_TRUE(qm::CreateFolders(folder_));
            const std::wstring& command = commands[cycle % std::size(commands)];
            // A Startup folder item is added by copying a file, not by a command.
            if (subject->InFolder() && command == L"add")
                continue;
            const Entry before{item(L"before" + std::to_wstring(cycle) + L".exe"),
                below(2) ? std::optional<qm::RawValue>(qm::RawValue{REG_BINARY, disabled}) : std::nullopt};
            // Only removal and addition take a backup folder.
            std::wstring arguments = command + (command == L"remove" || command == L"add" ? where : L" --location " +
                subject->Location() + L" -- \"" + subject->name + L"\"");
            std::optional<std::wstring> restored;
            if (command == L"add") {
                arguments += L" after.exe";
            } else if (command == L"restore") {
                // A backup of another command line and state, restored over the present entry.
                subject->Set({item(L"saved.exe"), below(2) ? std::nullopt : before.state});
                const qm::BackupResult saved = subject->InFolder()
                                                   ? qm::WriteFolderItemBackup(subject->key, subject->name, {folder_})
                                                   : qm::WriteBackup(subject->key, subject->name, {folder_});
                ASSERT_EQ(saved.status, qm::BackupStatus::Saved);
                restored = saved.path;
                arguments = L"restore \"" + saved.path + L"\"";
            }
            const Entry goal = command == L"restore" ? subject->Now() : Entry{};
            subject->Set(before);

            const std::optional<DWORD> exit = RunCli(arguments, below(span));
            killed += exit ? 0 : 1;
            ++runs;
            const Entry after = subject->Now();
            // Every backup file is whole.
            bool saved = false;
            for (const qm::BackupFile& file : Backups()) {
                const auto checked = qm::ReadStartupBackup(file.path);
                ASSERT_TRUE(checked) << testing::PrintToString(file.path);
                saved = saved || subject->Holds(file.path, *checked, before);
            }
            const bool unchanged = Same(after.value, before.value) && Same(after.state, before.state);
            if (command == L"disable" || command == L"enable") {
                // One write: the state is the old one or the new one.
                EXPECT_TRUE(Same(after.value, before.value));
                EXPECT_TRUE(unchanged || (after.state && qm::IsDisabledValue(after.state->data) == (command == L"disable")));
            } else if (command == L"remove") {
                // A state left without its entry starts nothing; the next add or restore clears it.
                EXPECT_TRUE(unchanged || (!after.value && saved));
            } else if (command == L"add") {
                EXPECT_TRUE(unchanged || (after.value && after.value->data == Text(L"after.exe") && saved));
            } else {
                EXPECT_TRUE(unchanged || (Same(after.value, goal.value) && saved));
                // The restored backup goes only once its entry is back whole.
                if (!qm::IsPlainFile(*restored)) {
                    EXPECT_TRUE(Same(after.value, goal.value) && Same(after.state, goal.state));
                }
            }
            if (exit) {
                EXPECT_EQ(*exit, 0u) << "not killed";
            }
        }
        std::printf("%ls: %d of %d runs killed, a whole run taking about %d ms\n", subject->name.c_str(), killed, runs,
            span - 50);
    }
}

// Two removals of one entry at once: one removes it with a backup, the other finds it gone.
TEST_F(KillTest, TwoRemovalsAtOnceRemoveOnceWithOneBackup)
{
    const std::wstring arguments = L"remove --location hkcu --backup-folder \"" + folder_ + L"\" -- \"" + runEntry_.name + L"\"";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        runEntry_.Set({qm::RawValue{REG_SZ, Text(L"twice.exe")}, std::nullopt});
        Clean();
        ASSERT_TRUE(qm::CreateFolders(folder_));
        std::optional<DWORD> codes[2];
        std::thread other([&] { codes[1] = RunCli(arguments, -1); });
        codes[0] = RunCli(arguments, -1);
        other.join();
        ASSERT_TRUE(codes[0] && codes[1]);
        EXPECT_EQ(std::min(*codes[0], *codes[1]), 0u);
        EXPECT_EQ(std::max(*codes[0], *codes[1]), 1u);
        EXPECT_FALSE(runEntry_.Now().value);
        EXPECT_EQ(Backups().size(), 1u);
    }
}
