#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "support/DenyingDacl.h"
#include "support/MainWindowFixture.h"

#include <algorithm>
#include <cstring>

using qmtest::MainWindowTest;

namespace {

// Runs a Unix tool on a file of the test's folder, and waits until the file is there or gone.
// Wine starts Unix programs directly, but cannot wait for them or read their exit code.
bool RunUnixOn(const std::wstring& tool, const std::wstring& path, bool wantThere)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* target = unixName ? unixName(path.c_str()) : nullptr;
    if (!target)
        return false;
    std::wstring command = tool + L" " + std::wstring(target, target + strlen(target));
    HeapFree(GetProcessHeap(), 0, target);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 100 && qm::FindFiles(path).empty() == wantThere; ++i)
        Sleep(20);
    return qm::FindFiles(path).empty() != wantThere;
}

// Writing through a link to /dev/full fails as a full disk does.
bool LinkToFullDisk(const std::wstring& path)
{
    return RunUnixOn(L"Z:\\bin\\ln -sf /dev/full", path, true);
}

} // namespace

TEST_F(MainWindowTest, RemovalAsksSavesDeletesAndRefreshes)
{
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"Joe's App", L"C:\\Progs\\app.exe /min");
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"stays", L"s.exe");
    auto& w = LoadWindow();
    Click(w.LocationButton(4));
    ASSERT_TRUE(SelectEntry(L"Joe's App"));
    host_.messageBoxAnswers = {IDYES, IDOK};
    PressKey('E', true); // "D&elete Selection"

    ASSERT_EQ(host_.messageBoxes.size(), 2u);
    EXPECT_EQ(host_.messageBoxes[0].text, L"Are you sure you want to delete the program/service 'Joe's App' from the Startup sequence ?");
    EXPECT_EQ(host_.messageBoxes[0].code, 36u);
    EXPECT_EQ(host_.messageBoxes[0].title, L"Confirm Delete");
    EXPECT_EQ(host_.messageBoxes[1].text, L"Joe's App has been removed and a backup copy has been saved.");
    EXPECT_EQ(host_.messageBoxes[1].code, 64u);
    EXPECT_EQ(host_.messageBoxes[1].title, L"Process Removed");

    EXPECT_FALSE(qmtest::ValueExists(HKEY_USERS, qmtest::kDefaultRunKey, L"Joe's App"));
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"stays"});
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"Joe's_App"});
    EXPECT_EQ(w.nameList.SelectedIndex(), -1);
    EXPECT_EQ(w.backupList.SelectedIndex(), -1);
    // Nothing is selected any more, so neither Delete nor Restore may act.
    EXPECT_FALSE(w.deleteButton.Enabled());
    EXPECT_FALSE(w.restoreButton.Enabled());
    const auto bytes = qm::ReadWholeFile(BackupPath(L"Joe's_App"));
    ASSERT_TRUE(bytes);
    const std::string expected = "REGEDIT4\r\n\r\n[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                 "\"Joe's App\"=\"C:\\\\Progs\\\\app.exe /min\"\r\n";
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), expected);
}

TEST_F(MainWindowTest, AnsweringNoChangesNothing)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"keep", L"k.exe");
    auto& w = LoadWindow();
    ASSERT_TRUE(SelectEntry(L"keep"));
    host_.messageBoxAnswers = {IDNO};
    Click(w.deleteButton);
    EXPECT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_TRUE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"keep"));
    EXPECT_TRUE(BackupFiles().empty());
    EXPECT_EQ(w.nameList.SelectedIndex(), 0);
}

TEST_F(MainWindowTest, NothingIsRemovedWithoutASavedBackup)
{
    enum class Fault { BadName, HeldOpen, DiskFull };
    const struct {
        const wchar_t* name;
        Fault fault;
    } cases[] = {{L"pipe|name", Fault::BadName}, {L"what?", Fault::BadName}, {L"back\\slash", Fault::BadName},
        {L"Held Open", Fault::HeldOpen}, {L"Full Disk", Fault::DiskFull}};
    for (const auto& c : cases)
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, c.name, L"x.exe");
    auto& w = LoadWindow();

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        std::wstring base = c.name;
        std::replace(base.begin(), base.end(), L' ', L'_');
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.fault == Fault::HeldOpen)
            held = CreateFileW(BackupPath(base).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (c.fault == Fault::DiskFull && !LinkToFullDisk(BackupPath(base))) {
            ADD_FAILURE() << "could not make the full-disk link";
            continue;
        }
        host_.messageBoxes.clear();
        host_.messageBoxAnswers = {IDYES, IDOK};
        ASSERT_TRUE(SelectEntry(c.name));
        Click(w.deleteButton);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        if (c.fault == Fault::DiskFull)
            RunUnixOn(L"Z:\\bin\\rm -f", BackupPath(base), false);

        ASSERT_EQ(host_.messageBoxes.size(), 2u);
        EXPECT_EQ(host_.messageBoxes[1].text, std::wstring(c.name) + L" was not removed because its backup copy could not be saved.");
        EXPECT_EQ(host_.messageBoxes[1].code, 48u);
        EXPECT_EQ(host_.messageBoxes[1].title, L"Process Not Removed");
        EXPECT_TRUE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, c.name));
        RemoveBackupFiles();
    }
}

TEST_F(MainWindowTest, RefusedDeletionKeepsTheEntryAndItsBackup)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"locked", L"l.exe");
    auto& w = LoadWindow();
    const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, qmtest::kRunKey, KEY_SET_VALUE);
    ASSERT_TRUE(deny.Applied());
    ASSERT_TRUE(SelectEntry(L"locked"));
    host_.messageBoxAnswers = {IDYES};
    Click(w.deleteButton);
    EXPECT_EQ(host_.messageBoxes.size(), 1u); // the question, and no "Process Removed"
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"locked"});
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"locked"});
}

TEST_F(MainWindowTest, BackupNamesNeverReplaceAnotherEntrysBackup)
{
    for (const wchar_t* name : {L"My App", L"My_App"})
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name, std::wstring(L"run ") + name);
    auto& w = LoadWindow();
    auto remove = [&](const wchar_t* name) {
        host_.messageBoxAnswers = {IDYES, IDOK};
        ASSERT_TRUE(SelectEntry(name));
        Click(w.deleteButton);
    };
    remove(L"My App");
    remove(L"My_App");
    // The same entry removed again, after it was added back, replaces its own backup.
    w.nameBox.SetText(L"My App");
    w.commandLineBox.SetText(L"run again");
    Click(w.addButton);
    remove(L"My App");

    std::vector<std::wstring> backups = Items(w.backupList);
    std::sort(backups.begin(), backups.end());
    EXPECT_EQ(backups, (std::vector<std::wstring>{L"My_App", L"My_App_2"}));
    const auto first = qm::ReadWholeFile(BackupPath(L"My_App"));
    const auto second = qm::ReadWholeFile(BackupPath(L"My_App_2"));
    ASSERT_TRUE(first && second);
    EXPECT_NE(std::string(first->begin(), first->end()).find("\"My App\"=\"run again\""), std::string::npos);
    EXPECT_NE(std::string(second->begin(), second->end()).find("\"My_App\"=\"run My_App\""), std::string::npos);
}

TEST_F(MainWindowTest, DeleteWithNothingSelectedDoesNothing)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"", L"default");
    auto& w = LoadWindow();
    ASSERT_TRUE(SelectEntry(L""));
    w.nameList.SetSelectedIndex(-1);
    EXPECT_FALSE(w.deleteButton.Enabled());
    // Even if the click arrives, an empty selection is never the default value.
    w.deleteButton.onClick();
    EXPECT_TRUE(host_.messageBoxes.empty());
    EXPECT_TRUE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L""));
}
