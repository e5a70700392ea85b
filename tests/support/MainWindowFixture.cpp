#include "support/MainWindowFixture.h"

#include "backup/BackupRestore.h"
#include "host/Application.h"
#include "host/Files.h"
#include "support/WindowInput.h"

namespace qmtest {

namespace {

std::wstring TestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    return std::wstring(name.begin(), name.end());
}

bool Select(qm::ListBox& list, const std::wstring& text)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Item(i) == text) {
            list.SetSelectedIndex(i);
            return true;
        }
    }
    return false;
}

} // namespace

MainWindowTest::MainWindowTest(bool sandboxed)
{
    if (sandboxed)
        sandbox_.emplace(TestName());
    RemoveBackupFiles();
}

MainWindowTest::~MainWindowTest()
{
    main_.reset();
    TakeQuitMessage();
    RemoveBackupFiles();
}

std::wstring MainWindowTest::BackupPath(const std::wstring& baseName)
{
    return qm::App().Folder() + L"\\" + baseName + L".reg";
}

std::vector<std::wstring> MainWindowTest::BackupFiles()
{
    return qm::FindFiles(qm::App().Folder() + L"\\*.reg");
}

void MainWindowTest::RemoveBackupFiles()
{
    for (const std::wstring& name : BackupFiles())
        static_cast<void>(qm::DeleteBackup(qm::App().Folder() + L"\\" + name));
}

bool MainWindowTest::SelectEntry(const std::wstring& name)
{
    return Select(main_->nameList, name);
}

bool MainWindowTest::SelectBackup(const std::wstring& baseName)
{
    return Select(main_->backupList, baseName);
}

qm::FrmMain& MainWindowTest::LoadWindow()
{
    main_ = std::make_unique<qm::FrmMain>();
    EXPECT_TRUE(main_->Load());
    main_->Show();
    qm::App().DoEvents();
    return *main_;
}

std::set<std::pair<std::wstring, std::wstring>> MainWindowTest::ListedEntries()
{
    EXPECT_EQ(main_->nameList.Count(), main_->commandLineList.Count());
    std::set<std::pair<std::wstring, std::wstring>> entries;
    for (int i = 0; i < main_->nameList.Count(); ++i)
        entries.emplace(main_->nameList.Item(i), main_->commandLineList.Item(i));
    return entries;
}

std::vector<std::wstring> MainWindowTest::Items(const qm::ListBox& list)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Item(i));
    return items;
}

void MainWindowTest::PressKey(UINT vk, bool alt)
{
    qmtest::PressKey(GetFocus(), vk, alt);
}

void MainWindowTest::Click(qm::TintButtonControl& button)
{
    // Pointer and keyboard input to a button are the button's own tests; here a click is the
    // button's click, which raises nothing while it is disabled.
    button.Click();
}

bool MainWindowTest::TakeQuitMessage()
{
    return qmtest::TakeQuitMessage();
}

} // namespace qmtest
