#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "support/DenyingDacl.h"
#include "support/MainWindowFixture.h"
#include "support/OwnRegistryEditor.h"

using qmtest::MainWindowTest;

namespace {

void WriteText(const std::wstring& path, const std::string& text)
{
    ASSERT_EQ(qm::WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end())), 0u);
}

} // namespace

class RestoreTest : public MainWindowTest {
protected:
    // Removes "My App" from location 1 through the window, leaving its backup selected in
    // the backups view.
    qm::FrmMain& RemoveMyApp()
    {
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"C:\\Progs\\app.exe /min");
        auto& w = LoadWindow();
        EXPECT_TRUE(SelectEntry(L"My App"));
        host_.messageBoxAnswers = {IDYES, IDOK};
        Click(w.deleteButton);
        EXPECT_FALSE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App"));
        Click(w.backupsButton);
        EXPECT_FALSE(w.restoreButton.Enabled());
        EXPECT_TRUE(SelectBackup(L"My_App"));
        EXPECT_TRUE(w.restoreButton.Enabled());
        host_.messageBoxes.clear();
        return w;
    }

    // The message boxes shown, each as "title: text (code)".
    std::vector<std::wstring> Boxes() const
    {
        std::vector<std::wstring> shown;
        for (const auto& box : host_.messageBoxes)
            shown.push_back(box.title + L": " + box.text + L" (" + std::to_wstring(box.code) + L")");
        return shown;
    }
};

TEST_F(RestoreTest, VerifiedRestoreReportsAndOnlyThenDeletesTheBackup)
{
    auto& w = RemoveMyApp();
    const auto checked = qm::ReadWholeFile(BackupPath(L"My_App"));
    ASSERT_TRUE(checked);
    std::wstring handedOver;
    host_.onRun = [&] {
        const std::wstring& parameters = host_.runs.back().parameters;
        handedOver = parameters.substr(4, parameters.size() - 5);
        // A file replaced after the check changes nothing: the editor has a private copy,
        // which nobody may write while it runs.
        WriteText(BackupPath(L"My_App"), "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\exefile]\r\n@=\"evil\"\r\n");
        EXPECT_EQ(qm::ReadWholeFile(handedOver), checked);
        EXPECT_NE(qm::WriteWholeFile(handedOver, {}), 0u);
        EXPECT_TRUE(qmtest::ImportBackupFile(handedOver));
    };
    Click(w.restoreButton);

    ASSERT_EQ(host_.runs.size(), 1u);
    EXPECT_EQ(host_.runs[0].file, qm::WinDir() + L"\\regedit.exe");
    EXPECT_EQ(host_.runs[0].parameters, L"/s \"" + handedOver + L"\"");
    EXPECT_NE(handedOver, BackupPath(L"My_App"));
    EXPECT_FALSE(qm::IsPlainFile(handedOver));
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Process Restored: My App has been restored (64)"});
    EXPECT_TRUE(BackupFiles().empty());
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"My App"});
    EXPECT_EQ(w.backupList.Count(), 0);
    EXPECT_FALSE(w.restoreButton.Enabled());
    EXPECT_TRUE(w.backupList.Visible());
}

TEST_F(RestoreTest, AFailedImportKeepsTheBackup)
{
    const struct {
        std::optional<DWORD> editorResult;
        bool imports;
        const wchar_t* what;
        const wchar_t* message;
    } cases[] = {
        {std::nullopt, false, L"editor missing or did not end", L"My App could not be restored."},
        {0, false, L"editor ran but imported nothing", L"My App could not be restored."},
        {0, true, L"editor imported something else", L"My App could not be restored exactly."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.what)));
        auto& w = RemoveMyApp();
        host_.runAndWaitAnswer = c.editorResult;
        host_.onRun = [&] {
            if (c.imports)
                qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"C:\\Progs\\other.exe");
        };
        Click(w.restoreButton);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Process Not Restored: " + std::wstring(c.message) + L" (48)"});
        EXPECT_EQ(BackupFiles(), std::vector<std::wstring>{L"My_App.reg"});
        EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"My_App"});
        EXPECT_FALSE(w.restoreButton.Enabled());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App");
        RemoveBackupFiles();
        host_.runs.clear();
    }
}

TEST_F(RestoreTest, WhatARestoreReplacesIsSavedFirstAndTheSavedStateComesBackExactly)
{
    const qm::StartupKey& hklm = *qm::FindStartupKeyByName(L"hklm");
    const std::vector<BYTE> disabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    auto& w = RemoveMyApp();
    // A newer entry of that name, turned off.
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"newer.exe");
    ASSERT_TRUE(qm::WriteValueRaw(HKEY_LOCAL_MACHINE, hklm.approvedSubKey, L"My App", {REG_BINARY, disabled}, 0, true));
    qmtest::ImportOnRun(host_);
    {
        // Unread, the newer entry cannot be saved: nothing is imported.
        const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, qmtest::kRunKey, KEY_QUERY_VALUE);
        ASSERT_TRUE(deny.Applied());
        Click(w.restoreButton);
    }
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{
        L"Process Not Restored: My App was not restored because the entry it would replace could not be saved. (48)"});
    EXPECT_TRUE(host_.runs.empty());
    EXPECT_EQ(BackupFiles(), std::vector<std::wstring>{L"My_App.reg"});

    ASSERT_TRUE(SelectBackup(L"My_App"));
    Click(w.restoreButton);
    ASSERT_EQ(host_.messageBoxes.size(), 2u);
    EXPECT_EQ(host_.messageBoxes[1].text, L"My App has been restored. The entry it replaced has been saved to a backup copy.");
    EXPECT_EQ(Items(w.nameList), std::vector<std::wstring>{L"My App"});
    EXPECT_EQ(w.commandLineList.Item(0), L"C:\\Progs\\app.exe /min");
    // Backed up while enabled, it comes back enabled; the newer entry and its state are saved.
    EXPECT_FALSE(qm::ReadApprovedValue(hklm, L"My App"));
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"My_App_2"});
    const auto saved = qm::ReadWholeFile(BackupPath(L"My_App_2"));
    ASSERT_TRUE(saved);
    const std::string text(saved->begin(), saved->end());
    EXPECT_NE(text.find("\"My App\"=\"newer.exe\""), std::string::npos);
    EXPECT_NE(text.find("\"My App\"=hex:03,00,00,00,01,02,03,04,05,06,07,08"), std::string::npos);
}

TEST_F(RestoreTest, AClassicBackupWithBytesAboveAsciiIsRestoredAndKept)
{
    // Written by an older version in some ANSI code page: which one, nothing in the file says.
    WriteText(BackupPath(L"Caf_"), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]"
                                   "\r\n\"Caf\xE9\"=\"c.exe\"\r\n");
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"other", L"o.exe");
    qmtest::ImportOnRun(host_);
    auto& w = LoadWindow();
    Click(w.backupsButton);
    ASSERT_TRUE(SelectBackup(L"Caf_"));
    Click(w.restoreButton);
    ASSERT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_EQ(host_.messageBoxes[0].title, L"Process Restored");
    EXPECT_NE(host_.messageBoxes[0].text.find(L" has been restored. Its backup file is kept: it was written for a code page "
                                               L"this computer may not use, so the restored text cannot be checked."),
        std::wstring::npos);
    EXPECT_EQ(BackupFiles(), std::vector<std::wstring>{L"Caf_.reg"});
    EXPECT_EQ(w.nameList.Count(), 2);
}

TEST_F(RestoreTest, OnlyBackupsOfStartupEntriesReachTheRegistryEditor)
{
    const std::string run = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
    const struct {
        const wchar_t* base;
        std::string text;
    } foreign[] = {
        {L"other_key", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\exefile\\shell\\open\\command]\r\n@=\"evil.exe\"\r\n"},
        {L"two_sections", "REGEDIT4\r\n\r\n" + run + "\"a\"=\"a\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"b\"=\"b\"\r\n"},
        {L"deletes", "REGEDIT4\r\n\r\n" + run + "\"a\"=-\r\n"},
        {L"not_a_reg_file", "hello"},
    };
    for (const auto& f : foreign)
        WriteText(BackupPath(f.base), f.text);
    auto& w = LoadWindow();
    Click(w.backupsButton);
    for (const auto& f : foreign) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(f.base)));
        host_.messageBoxes.clear();
        ASSERT_TRUE(SelectBackup(f.base));
        PressKey('R', true);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Process Not Restored: " + std::wstring(f.base) +
                               L" is not a backup of a startup entry and was not imported. (48)"});
        EXPECT_FALSE(qm::FindFiles(BackupPath(f.base)).empty());
    }
    EXPECT_TRUE(host_.runs.empty());
}

TEST_F(RestoreTest, ABackupInThePerUserFolderIsListedAndRestoredFromThere)
{
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"QmTest Per User", L"pu.exe");
    const auto saved = qm::WriteBackup(qm::Location(3).Native(), L"QmTest Per User", {qm::PerUserBackupFolder()});
    ASSERT_EQ(saved.status, qm::BackupStatus::Saved);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, qmtest::kRunKey, L"QmTest Per User");
    qmtest::ImportOnRun(host_);
    auto& w = LoadWindow();
    Click(w.backupsButton);
    ASSERT_TRUE(SelectBackup(L"QmTest_Per_User"));
    EXPECT_EQ(w.backups[static_cast<size_t>(w.backupList.SelectedIndex())].path, saved.path);
    Click(w.restoreButton);
    EXPECT_TRUE(qmtest::ValueExists(HKEY_CURRENT_USER, qmtest::kRunKey, L"QmTest Per User"));
    EXPECT_FALSE(qm::DeleteFileAt(saved.path));
}

// Restore, covered by the entries view, still answers its access key; a close request that
// comes while it runs waits until it has ended.
TEST_F(RestoreTest, ACoveredRestoreAnswersItsAccessKeyAndACloseRequestWaitsForIt)
{
    auto& w = RemoveMyApp();
    Click(w.finishedButton);
    EXPECT_FALSE(w.backupList.Visible());
    EXPECT_EQ(w.backupList.SelectedIndex(), 0);
    EXPECT_TRUE(w.restoreButton.Enabled());
    const HWND hwnd = w.Hwnd();
    bool aliveAfterClose = false;
    host_.onRun = [&] {
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        aliveAfterClose = IsWindow(hwnd) != FALSE;
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"C:\\Progs\\app.exe /min");
    };
    w.nameList.Focus();
    PressKey('R', true);
    EXPECT_EQ(host_.runs.size(), 1u);
    EXPECT_TRUE(aliveAfterClose);
    EXPECT_EQ(Boxes(), std::vector<std::wstring>{L"Process Restored: My App has been restored (64)"});
    EXPECT_TRUE(BackupFiles().empty());
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(qm::App().Windows().empty());
}
