#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

namespace {

TEST(BackupBaseName, EveryEntryGetsAFileNameThatHoldsNoDeviceAndFitsThePath)
{
    const std::wstring longName(300, L'x');
    const std::wstring emoji = L"\U0001F600";
    const struct {
        std::wstring name;
        std::size_t maxLength;
        std::wstring expected;
    } cases[] = {
        {L"My App", qm::kMaxBackupBaseName, L"My_App"},
        {L"", qm::kMaxBackupBaseName, L"(Default)"},
        {L"a\\b/c:d*e?f\"g<h>i|j", qm::kMaxBackupBaseName, L"a_b_c_d_e_f_g_h_i_j"},
        {L"tab\there\x01\x1F", qm::kMaxBackupBaseName, L"tab_here__"},
        {L"CON", qm::kMaxBackupBaseName, L"CON_"},
        {L"nul.txt", qm::kMaxBackupBaseName, L"nul_.txt"},
        {L"ends..", qm::kMaxBackupBaseName, L"ends__"},
        {L".hidden", qm::kMaxBackupBaseName, L"_hidden"},
        {longName, qm::kMaxBackupBaseName, std::wstring(qm::kMaxBackupBaseName - 1, L'x')},
        {L"ab" + emoji, 4, L"ab_"},
        {L"a.b..c", 5, L"a.b_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::BackupBaseName(c.name, c.maxLength), c.expected) << testing::PrintToString(c.name);

    const std::wstring deepFolder = L"C:\\" + std::wstring(240, L'f');
    EXPECT_EQ(qm::MaxBackupBaseName(L"C:"), qm::kMaxBackupBaseName);
    EXPECT_EQ(qm::MaxBackupBaseName(L"C:\\Tools"), 241u);
    EXPECT_EQ(qm::MaxBackupBaseName(deepFolder), 259u - deepFolder.size() - 1 - 9);
    EXPECT_EQ(qm::MaxBackupBaseName(L"C:\\" + std::wstring(260, L'f')), 0u);
}

// Backups are written into folders of their own below the test's folder.
class WriteBackupTest : public ::testing::Test {
protected:
    WriteBackupTest()
    {
        for (const std::wstring& folder : {first_, second_}) {
            Empty(folder);
            EXPECT_TRUE(qm::CreateFolders(folder));
        }
        EXPECT_TRUE(qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"My App", L"app.exe /new"));
    }
    ~WriteBackupTest() override
    {
        for (const std::wstring& folder : {first_, second_}) {
            Empty(folder);
            RemoveDirectoryW(folder.c_str());
        }
    }
    static void Empty(const std::wstring& folder)
    {
        for (const std::wstring& name : qm::FindFiles(folder + L"\\*"))
            static_cast<void>(qm::DeleteFileAt(folder + L"\\" + name));
    }
    static std::string Text(const std::wstring& path)
    {
        const auto bytes = qm::ReadWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
    }
    static qm::BackupResult Write(const std::wstring& name, const std::vector<std::wstring>& folders)
    {
        return qm::WriteBackup(qm::Location(3).Native(), name, folders);
    }

    qmtest::RegistrySandbox sandbox_{L"WriteBackup"};
    const std::wstring first_ = qm::App().Folder() + L"\\backups-first";
    const std::wstring second_ = qm::App().Folder() + L"\\backups-second";
};

TEST_F(WriteBackupTest, NeverReplacesAFileAndClaimsTheNextFreeName)
{
    const std::string earlier = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                "\"My App\"=\"app.exe /old\"\r\n";
    ASSERT_EQ(qm::WriteWholeFile(first_ + L"\\My_App.reg", {earlier.begin(), earlier.end()}), 0u);
    ASSERT_EQ(qm::WriteWholeFile(first_ + L"\\My_App_2.reg", {}), 0u);
    ASSERT_TRUE(CreateDirectoryW((first_ + L"\\My_App_3.reg").c_str(), nullptr));
    // Held open by another program, and unreadable for it.
    const qm::UniqueFile held(
        CreateFileW((first_ + L"\\My_App_4.reg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(held);

    const auto result = Write(L"My App", {first_});
    ASSERT_EQ(result.status, qm::BackupStatus::Saved);
    EXPECT_EQ(result.path, first_ + L"\\My_App_5.reg");
    EXPECT_NE(Text(result.path).find("\"My App\"=\"app.exe /new\""), std::string::npos);
    EXPECT_EQ(Text(first_ + L"\\My_App.reg"), earlier);
    EXPECT_EQ(Text(first_ + L"\\My_App_2.reg"), "");
    // Nothing but the backups themselves is left in the folder.
    EXPECT_EQ(qm::FindFiles(first_ + L"\\*.tmp"), std::vector<std::wstring>{});
    RemoveDirectoryW((first_ + L"\\My_App_3.reg").c_str());
}

TEST_F(WriteBackupTest, AFolderThatCannotHoldTheBackupPassesItOn)
{
    const std::wstring missingDrive = L"Q:\\no\\such\\drive";
    const std::wstring tooDeep = first_ + L"\\" + std::wstring(250, L'd');
    for (const auto& folders : {std::vector<std::wstring>{missingDrive, second_}, std::vector<std::wstring>{tooDeep, second_}}) {
        const auto result = Write(L"My App", folders);
        ASSERT_EQ(result.status, qm::BackupStatus::Saved);
        EXPECT_EQ(result.path.substr(0, second_.size()), second_);
        static_cast<void>(qm::DeleteFileAt(result.path));
    }
    // Created when needed.
    const std::wstring created = second_ + L"\\Quillmoor\\Backups";
    const auto result = Write(L"My App", {created});
    EXPECT_EQ(result.status, qm::BackupStatus::Saved);
    static_cast<void>(qm::DeleteFileAt(result.path));
    RemoveDirectoryW(created.c_str());
    RemoveDirectoryW((second_ + L"\\Quillmoor").c_str());

    EXPECT_EQ(Write(L"My App", {missingDrive}).status, qm::BackupStatus::NotSaved);
    EXPECT_EQ(Write(L"Gone", {first_}).status, qm::BackupStatus::ValueMissing);
    // A line break has no spelling in a .reg file that reads back, whatever the folder.
    ASSERT_TRUE(qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Line\nBreak", L"x.exe"));
    EXPECT_EQ(Write(L"Line\nBreak", {missingDrive, first_}).status, qm::BackupStatus::Unrepresentable);
    EXPECT_TRUE(qm::FindFiles(first_ + L"\\*").empty());
}

// A REGEDIT4 file is read in this machine's code page; beyond ASCII that may not be the one
// that wrote it.
TEST(CheckStartupBackup, TellsWhetherTheFileDependsOnTheCodePage)
{
    const std::string run = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
    const struct {
        std::string text;
        bool dependsOnCodePage;
    } cases[] = {
        {run + "\"Caf\xe9\"=\"x\"\r\n", true},
        {run + "\"e\"=hex(2):e9,00\r\n", true},
        {run + "\"b\"=hex:e9,00\r\n", false},
        {run + "\"Cafe\"=\"x\"\r\n", false},
    };
    for (const auto& c : cases) {
        const auto checked = qm::CheckStartupBackup({c.text.begin(), c.text.end()});
        ASSERT_TRUE(checked) << c.text;
        EXPECT_EQ(checked->dependsOnCodePage, c.dependsOnCodePage) << c.text;
    }
    const std::wstring text = L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                              L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                              L"\"Caf\u00e9\"=\"x\"\r\n";
    const auto* units = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto unicode = qm::CheckStartupBackup({units, units + text.size() * sizeof(wchar_t)});
    ASSERT_TRUE(unicode);
    EXPECT_FALSE(unicode->dependsOnCodePage);
}

} // namespace
