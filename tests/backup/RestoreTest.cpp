#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"
#include "support/MainWindowFixture.h"

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
};

TEST_F(RestoreTest, VerifiedRestoreReportsAndOnlyThenDeletesTheBackup)
{
    auto& w = RemoveMyApp();
    // The scripted registry editor imports the value as the real one would.
    host_.onRun = [] { qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"C:\\Progs\\app.exe /min"); };
    Click(w.restoreButton);

    ASSERT_EQ(host_.runs.size(), 1u);
    EXPECT_EQ(host_.runs[0].file, qm::WinDir() + L"\\regedit.exe");
    EXPECT_EQ(host_.runs[0].parameters, L"/s \"" + BackupPath(L"My_App") + L"\"");
    ASSERT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_EQ(host_.messageBoxes[0].text, L"My App has been restored");
    EXPECT_EQ(host_.messageBoxes[0].code, 64u);
    EXPECT_EQ(host_.messageBoxes[0].title, L"Process Restored");
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
    } cases[] = {
        {std::nullopt, false, L"editor missing or did not end"},
        {0, false, L"editor ran but imported nothing"},
        {0, true, L"editor imported something else"},
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
        ASSERT_EQ(host_.messageBoxes.size(), 1u);
        EXPECT_EQ(host_.messageBoxes[0].text, L"My App could not be restored.");
        EXPECT_EQ(host_.messageBoxes[0].code, 48u);
        EXPECT_EQ(host_.messageBoxes[0].title, L"Process Not Restored");
        EXPECT_EQ(BackupFiles(), std::vector<std::wstring>{L"My_App.reg"});
        EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"My_App"});
        EXPECT_FALSE(w.restoreButton.Enabled());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App");
        RemoveBackupFiles();
        host_.runs.clear();
    }
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
        {L"deletes_key", "REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"},
        {L"not_a_reg_file", "hello"},
        {L"empty", ""},
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
        ASSERT_EQ(host_.messageBoxes.size(), 1u);
        EXPECT_EQ(host_.messageBoxes[0].text, std::wstring(f.base) + L" is not a backup of a startup entry and was not imported.");
        EXPECT_EQ(host_.messageBoxes[0].code, 48u);
        EXPECT_EQ(host_.messageBoxes[0].title, L"Process Not Restored");
        EXPECT_FALSE(qm::FindFiles(BackupPath(f.base)).empty());
    }
    EXPECT_TRUE(host_.runs.empty());
}

TEST_F(RestoreTest, CoveredRestoreStillAnswersItsAccessKey)
{
    auto& w = RemoveMyApp();
    Click(w.finishedButton);
    EXPECT_FALSE(w.backupList.Visible());
    EXPECT_EQ(w.backupList.SelectedIndex(), 0);
    EXPECT_TRUE(w.restoreButton.Enabled());
    host_.onRun = [] { qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App", L"C:\\Progs\\app.exe /min"); };
    w.nameList.Focus();
    PressKey('R', true);
    EXPECT_EQ(host_.runs.size(), 1u);
    EXPECT_TRUE(qmtest::ValueExists(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"My App"));
    EXPECT_TRUE(w.commandLineList.Visible());
}
