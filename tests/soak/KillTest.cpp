#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/Handles.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
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
// its own in the prefix's HKCU Run key.
namespace {

constexpr wchar_t kName[] = L"QmKill Entry";
const qm::StartupKey& kKey = *qm::FindStartupKeyByName(L"hkcu");

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

// An entry's value and its state, as they are or as a command should leave them.
struct Entry {
    std::optional<qm::RawValue> value;
    std::optional<qm::RawValue> state;
};

bool Same(const std::optional<qm::RawValue>& a, const std::optional<qm::RawValue>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
}

Entry Now()
{
    return {qm::ReadValueRaw(HKEY_CURRENT_USER, kKey.subKey, kName), qm::ReadApprovedValue(kKey, kName)};
}

void Set(const Entry& entry)
{
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey.subKey, kName);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey.approvedSubKey, kName);
    if (entry.value) {
        ASSERT_TRUE(qm::WriteValueRaw(HKEY_CURRENT_USER, kKey.subKey, kName, *entry.value, 0, true));
    }
    if (entry.state) {
        ASSERT_TRUE(qm::WriteValueRaw(HKEY_CURRENT_USER, kKey.approvedSubKey, kName, *entry.state, 0, true));
    }
}

// The backup holds exactly this entry: its value, and its state when it has one.
bool Holds(const qm::CheckedBackup& backup, const Entry& entry)
{
    const auto& sections = backup.file.sections;
    if (!entry.value || sections.size() != (entry.state ? 2u : 1u))
        return false;
    const auto& value = sections[0].values[0];
    if (value.name != kName || value.type != entry.value->type || value.data != entry.value->data)
        return false;
    return !entry.state || (sections[1].values[0].type == entry.state->type && sections[1].values[0].data == entry.state->data);
}

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
            Set({});
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
};

} // namespace

// Killed at any instant, the entry is as it was, or as the command leaves it with a verified
// backup of everything it removed or replaced; a backup file is whole or not there.
TEST_F(KillTest, KilledAtAnyInstantNothingIsLost)
{
    ASSERT_TRUE(qm::IsPlainFile(cli_));
    std::mt19937 random(20261207);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::vector<BYTE> disabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::wstring where = L" --location hkcu --backup-folder \"" + folder_ + L"\" -- \"" + kName + L"\"";
    const std::wstring commands[] = {L"remove", L"add", L"restore", L"disable", L"enable"};

    // How long a whole run takes, so that kills fall all along it.
    Set({qm::RawValue{REG_SZ, Text(L"calibrate.exe")}, std::nullopt});
    const ULONGLONG start = GetTickCount64();
    ASSERT_EQ(RunCli(L"remove" + where, -1), std::optional<DWORD>(0));
    const int span = static_cast<int>(GetTickCount64() - start) + 50;

    int killed = 0;
    const int cycles = KillCycles();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        Set({});
        Clean();
        ASSERT_TRUE(qm::CreateFolders(folder_));
        const std::wstring& command = commands[cycle % std::size(commands)];
        const Entry before{qm::RawValue{REG_SZ, Text(L"before" + std::to_wstring(cycle) + L".exe")},
            below(2) ? std::optional<qm::RawValue>(qm::RawValue{REG_BINARY, disabled}) : std::nullopt};
        // Only removal and addition take a backup folder.
        std::wstring arguments = command + (command == L"remove" || command == L"add" ? where : L" --location hkcu -- \"" +
            std::wstring(kName) + L"\"");
        std::optional<std::wstring> restored;
        if (command == L"add") {
            arguments += L" after.exe";
        } else if (command == L"restore") {
            // A backup of another command line and state, restored over the present entry.
            Set({qm::RawValue{REG_SZ, Text(L"saved.exe")}, below(2) ? std::nullopt : before.state});
            const qm::BackupResult saved = qm::WriteBackup(kKey, kName, {folder_});
            ASSERT_EQ(saved.status, qm::BackupStatus::Saved);
            restored = saved.path;
            arguments = L"restore \"" + saved.path + L"\"";
        }
        const Entry goal = command == L"restore" ? Now() : Entry{};
        Set(before);

        const std::optional<DWORD> exit = RunCli(arguments, below(span));
        killed += exit ? 0 : 1;
        const Entry after = Now();
        // Every backup file is whole.
        std::vector<qm::CheckedBackup> backups;
        for (const qm::BackupFile& file : Backups()) {
            auto checked = qm::ReadStartupBackup(file.path);
            ASSERT_TRUE(checked) << testing::PrintToString(file.path);
            backups.push_back(std::move(*checked));
        }
        const bool saved = std::any_of(backups.begin(), backups.end(), [&](const auto& b) { return Holds(b, before); });
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
    std::printf("%d of %d runs killed, a whole run taking about %d ms\n", killed, cycles, span - 50);
}

// Two removals of one entry at once: one removes it with a backup, the other finds it gone.
TEST_F(KillTest, TwoRemovalsAtOnceRemoveOnceWithOneBackup)
{
    const std::wstring arguments = L"remove --location hkcu --backup-folder \"" + folder_ + L"\" -- \"" + kName + L"\"";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Set({qm::RawValue{REG_SZ, Text(L"twice.exe")}, std::nullopt});
        Clean();
        ASSERT_TRUE(qm::CreateFolders(folder_));
        std::optional<DWORD> codes[2];
        std::thread other([&] { codes[1] = RunCli(arguments, -1); });
        codes[0] = RunCli(arguments, -1);
        other.join();
        ASSERT_TRUE(codes[0] && codes[1]);
        EXPECT_EQ(std::min(*codes[0], *codes[1]), 0u);
        EXPECT_EQ(std::max(*codes[0], *codes[1]), 1u);
        EXPECT_FALSE(Now().value);
        EXPECT_EQ(Backups().size(), 1u);
    }
}
