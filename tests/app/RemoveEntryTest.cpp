#include "app/BackupsView.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "support/DenyingDacl.h"
#include "support/MainWindowFixture.h"
#include "support/OwnRegistryEditor.h"

#include <functional>
#include <optional>

using qmtest::MainWindowTest;

TEST_F(MainWindowTest, RemovalAsksSavesDeletesAndRefreshes)
{
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"Joe's App", L"C:\\Progs\\app.exe /min");
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"stays", L"s.exe");
    auto& w = LoadWindow();
    Click(w.LocationButton(4));
    ASSERT_TRUE(SelectEntry(L"Joe's App"));
    host_.messageBoxAnswers = {IDYES, IDOK};
    // The Delete key in either entry list is "D&elete Selection".
    w.commandLineList.Focus();
    PressKey(VK_DELETE);

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
    // The backup's tooltip says what it holds, where it goes back to and when it was written.
    const std::wstring tip = qm::BackupTooltip(w, 0);
    const std::wstring head = L"Joe's App\r\nHKU Run: HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n"
                              L"Command line: C:\\Progs\\app.exe /min\r\nWritten ";
    EXPECT_EQ(tip.substr(0, head.size()), head);
    EXPECT_TRUE(tip.ends_with(L"\r\n" + BackupPath(L"Joe's_App"))) << testing::PrintToString(tip);
    // In the backups list the Delete key does nothing.
    host_.messageBoxes.clear();
    Click(w.backupsButton);
    ASSERT_TRUE(SelectBackup(L"Joe's_App"));
    w.backupList.Focus();
    PressKey(VK_DELETE);
    EXPECT_TRUE(host_.messageBoxes.empty());
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"Joe's_App"});
    const auto bytes = qm::ReadWholeFile(BackupPath(L"Joe's_App"));
    ASSERT_TRUE(bytes);
    const std::string expected = "REGEDIT4\r\n\r\n[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                 "\"Joe's App\"=\"C:\\\\Progs\\\\app.exe /min\"\r\n";
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), expected);
}

TEST_F(MainWindowTest, OnlyYesRemoves)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"keep", L"k.exe");
    auto& w = LoadWindow();
    // 0 is a message box that could not be shown.
    for (int answer : {IDNO, IDCANCEL, IDOK, 0}) {
        SCOPED_TRACE(answer);
        ASSERT_TRUE(SelectEntry(L"keep"));
        host_.messageBoxes.clear();
        host_.messageBoxAnswers = {answer};
        if (answer == IDNO) {
            w.nameList.Focus();
            PressKey(VK_DELETE);
        } else {
            Click(w.deleteButton);
        }
        EXPECT_EQ(host_.messageBoxes.size(), 1u);
        EXPECT_TRUE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"keep"));
        EXPECT_TRUE(BackupFiles().empty());
        EXPECT_EQ(w.nameList.SelectedIndex(), 0);
    }
}

TEST_F(MainWindowTest, HostileNamesAreRemovedAndComeBackExactly)
{
    const std::pair<std::wstring, std::wstring> entries[] = {{L"pipe|name", L"pipe_name"}, {L"what?", L"what_"},
        {L"back\\slash", L"back_slash"}, {L"CON", L"CON_"}, {L"a:b", L"a_b"},
        {std::wstring(300, L'L'), std::wstring(qm::MaxBackupBaseName(qm::App().Folder()) - 1, L'L')}};
    for (const auto& [name, baseName] : entries)
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name, L"run " + name);
    qmtest::ImportOnRun(host_);
    auto& w = LoadWindow();
    for (const auto& [name, baseName] : entries) {
        SCOPED_TRACE(testing::PrintToString(baseName));
        ASSERT_TRUE(SelectEntry(name));
        EXPECT_EQ(w.backupNameBox.Text(), baseName);
        host_.messageBoxAnswers = {IDYES, IDOK};
        Click(w.deleteButton);
        EXPECT_FALSE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name));
        Click(w.backupsButton);
        ASSERT_TRUE(SelectBackup(baseName));
        Click(w.restoreButton);
        EXPECT_EQ(host_.messageBoxes.back().text, name + L" has been restored");
        const auto back = qm::ReadValueRaw(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name);
        ASSERT_TRUE(back);
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(back->data.data())), L"run " + name);
        EXPECT_TRUE(BackupFiles().empty());
    }
}

TEST_F(MainWindowTest, AnEntryNoBackupCanHoldGoesOnlyWhenTheUserSaysSo)
{
    // No .reg spelling of a line break reads back.
    const std::wstring name = L"Line\nBreak";
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name, L"x.exe");
    auto& w = LoadWindow();
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        host_.messageBoxes.clear();
        host_.messageBoxAnswers = {IDYES, answer, IDOK};
        ASSERT_TRUE(SelectEntry(name));
        Click(w.deleteButton);
        ASSERT_EQ(host_.messageBoxes.size(), answer == IDYES ? 3u : 2u);
        EXPECT_EQ(host_.messageBoxes[1].text, name + L" cannot be saved to a backup copy. Remove it without a backup?");
        EXPECT_EQ(host_.messageBoxes[1].code, 308u);
        EXPECT_EQ(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name), answer == IDNO);
        EXPECT_TRUE(BackupFiles().empty());
    }
    EXPECT_EQ(host_.messageBoxes[2].text, name + L" has been removed without a backup copy.");
}

TEST_F(MainWindowTest, EventsRunBetweenSavingAndDeletingAndAChangeMeanwhileKeepsTheEntry)
{
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Moving", L"old.exe");
    auto& w = LoadWindow();
    Click(w.LocationButton(3));
    ASSERT_TRUE(SelectEntry(L"Moving"));
    // A message posted while the question is open runs at the removal's first pending-events
    // point; there it finds the backup saved and the entry still in place, and changes it.
    std::optional<std::pair<bool, size_t>> seen;
    const HWND probe = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    static std::function<void()> onProbe;
    onProbe = [&] {
        seen = {qmtest::ValueExists(HKEY_CURRENT_USER, qmtest::kRunKey, L"Moving"), BackupFiles().size()};
        qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Moving", L"new.exe");
    };
    SetWindowLongPtrW(probe, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_APP)
            return DefWindowProcW(h, m, wp, lp);
        onProbe();
        return 0;
    }));
    host_.onMessageBox = [&](const qmtest::ScriptedHost::MessageBoxCall& box) {
        if (box.title == L"Confirm Delete")
            PostMessageW(probe, WM_APP, 0, 0);
    };
    host_.messageBoxAnswers = {IDYES, IDOK};
    Click(w.deleteButton);
    DestroyWindow(probe);

    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->first);
    EXPECT_EQ(seen->second, 1u);
    ASSERT_EQ(host_.messageBoxes.size(), 2u);
    EXPECT_EQ(host_.messageBoxes[1].text, L"Moving was not removed because it changed while its backup copy was being saved.");
    EXPECT_EQ(host_.messageBoxes[1].title, L"Process Not Removed");
    EXPECT_EQ(ListedEntries(), (std::set<std::pair<std::wstring, std::wstring>>{{L"Moving", L"new.exe"}}));
    EXPECT_TRUE(BackupFiles().empty());
}

TEST_F(MainWindowTest, AnEntryRemovedMeanwhileBySomeoneElseIsReportedAndListedAgain)
{
    for (const wchar_t* name : {L"gone", L"stays"})
        qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, name, L"x.exe");
    auto& w = LoadWindow();
    Click(w.LocationButton(3));
    ASSERT_TRUE(SelectEntry(L"gone"));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, qmtest::kRunKey, L"gone");
    host_.messageBoxAnswers = {IDYES, IDOK};
    Click(w.deleteButton);
    ASSERT_EQ(host_.messageBoxes.size(), 2u);
    EXPECT_EQ(host_.messageBoxes[1].text, L"gone is no longer in this startup location.");
    EXPECT_EQ(host_.messageBoxes[1].code, 48u);
    EXPECT_EQ(host_.messageBoxes[1].title, L"Process Not Removed");
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"stays"});
    EXPECT_TRUE(BackupFiles().empty());
}

TEST_F(MainWindowTest, ListsFollowALocationChosenWhileARemovalRuns)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Same", L"machine.exe");
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Same", L"user.exe");
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Other", L"other.exe");
    auto& w = LoadWindow();
    ASSERT_TRUE(SelectEntry(L"Same"));
    host_.messageBoxAnswers = {IDYES, IDOK};
    host_.onMessageBox = [&](const qmtest::ScriptedHost::MessageBoxCall& box) {
        if (box.title == L"Confirm Delete")
            Click(w.LocationButton(3));
    };
    Click(w.deleteButton);
    // The entry asked about went; the lists show the location now selected, whole.
    EXPECT_FALSE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Same"));
    EXPECT_EQ(w.CurrentLocation(), 3);
    EXPECT_EQ(ListedEntries(), (std::set<std::pair<std::wstring, std::wstring>>{{L"Same", L"user.exe"}, {L"Other", L"other.exe"}}));
}

TEST_F(MainWindowTest, AKeyThatRefusesTheChangeLeavesTheEntryAsItWas)
{
    const qm::StartupKey& hklm = *qm::FindStartupKeyByName(L"hklm");
    const std::vector<BYTE> disabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"locked", L"l.exe");
    ASSERT_TRUE(qm::WriteValueRaw(HKEY_LOCAL_MACHINE, hklm.approvedSubKey, L"locked", {REG_BINARY, disabled}, 0, true));
    auto& w = LoadWindow();
    // A refusing key leaves both values and no backup, and the lists say so, not a message.
    {
        const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, qmtest::kRunKey, KEY_SET_VALUE);
        ASSERT_TRUE(deny.Applied());
        ASSERT_TRUE(SelectEntry(L"locked"));
        host_.messageBoxAnswers = {IDYES};
        Click(w.deleteButton);
    }
    EXPECT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"locked"});
    EXPECT_EQ(qm::ReadApprovedValue(hklm, L"locked")->data, disabled);
    EXPECT_TRUE(BackupFiles().empty());
    // Deleting a value needs no right but setting values.
    const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, qmtest::kRunKey, KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | DELETE);
    ASSERT_TRUE(deny.Applied());
    ASSERT_TRUE(SelectEntry(L"locked"));
    host_.messageBoxAnswers = {IDYES, IDOK};
    Click(w.deleteButton);
    EXPECT_TRUE(Items(w.nameList).empty());
    EXPECT_FALSE(qm::ReadApprovedValue(hklm, L"locked"));
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
