#include "registry/RegistryAccess.h"
#include "support/DenyingDacl.h"
#include "support/MainWindowFixture.h"
#include "support/OwnRegistryEditor.h"

#include <optional>

using qmtest::MainWindowTest;
using Entries = std::set<std::pair<std::wstring, std::wstring>>;

namespace {

using Call = qmtest::ScriptedHost::MessageBoxCall;

bool operator==(const Call& a, const Call& b)
{
    return a.text == b.text && a.code == b.code && a.title == b.title;
}

} // namespace

TEST_F(MainWindowTest, BlankFieldsAndALineBreakAreRefusedWithTheirMessageAndFocus)
{
    qmtest::CreateKey(HKEY_LOCAL_MACHINE, qmtest::kRunKey);
    auto& w = LoadWindow();
    const struct {
        const wchar_t* name;
        const wchar_t* cmdLine;
        Call expected;
        const qm::Control* focus;
    } cases[] = {
        {L"   ", L"C:\\x.exe", {L"Enter Name", 64, L"No Name"}, &w.nameBox},
        {L"Tool", L"    ", {L"Enter Command Line", 64, L"No CmdLine"}, &w.commandLineBox},
        {L"Two\r\nLines", L"x.exe", {L"A program name cannot hold a line break.", 48, L"Process Not Added"}, &w.nameBox},
    };
    for (const auto& c : cases) {
        host_.messageBoxes.clear();
        w.nameBox.SetText(c.name);
        w.commandLineBox.SetText(c.cmdLine);
        w.browseButton.Focus();
        Click(w.addButton);
        ASSERT_EQ(host_.messageBoxes.size(), 1u);
        EXPECT_TRUE(host_.messageBoxes[0] == c.expected);
        EXPECT_EQ(GetFocus(), c.focus->Hwnd());
        EXPECT_EQ(w.nameList.Count(), 0);
    }
}

TEST_F(MainWindowTest, AddWritesExactlyAsTypedAndReplacesAnEntryOnlyAfterSavingIt)
{
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Tool", L"old.exe");
    auto& w = LoadWindow();
    Click(w.LocationButton(3));
    const std::pair<std::wstring, std::wstring> added[] = {{L" lead", L"  C:\\lead.exe  "}, {L"Tool", L"new.exe /q"}};
    for (const auto& [name, cmdLine] : added) {
        w.nameBox.SetText(name);
        w.commandLineBox.SetText(cmdLine);
        Click(w.addButton);
        EXPECT_EQ(w.nameBox.Text(), name);
        EXPECT_TRUE(w.addButton.Enabled());
    }
    EXPECT_TRUE(host_.messageBoxes.empty());
    // Listing trims leading blanks of the data, never the name.
    EXPECT_EQ(ListedEntries(), (Entries{{L" lead", L"C:\\lead.exe  "}, {L"Tool", L"new.exe /q"}}));
    const auto raw = qm::ReadValueRaw(HKEY_CURRENT_USER, qmtest::kRunKey, L" lead");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(raw->data.data())), L"  C:\\lead.exe  ");

    // The replaced command line was saved first, and comes back from the Backups view.
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"Tool"});
    qmtest::ImportOnRun(host_);
    ASSERT_TRUE(SelectBackup(L"Tool"));
    Click(w.restoreButton);
    EXPECT_EQ(ListedEntries(), (Entries{{L" lead", L"C:\\lead.exe  "}, {L"Tool", L"old.exe"}}));

    // When the old command line cannot be saved, nothing is written.
    host_.messageBoxes.clear();
    {
        const qmtest::DenyingDacl deny(HKEY_CURRENT_USER, qmtest::kRunKey, KEY_QUERY_VALUE);
        ASSERT_TRUE(deny.Applied());
        w.nameBox.SetText(L"Tool");
        Click(w.addButton);
    }
    ASSERT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_TRUE(host_.messageBoxes[0] ==
        (Call{L"Tool was not replaced because its backup copy could not be saved.", 48, L"Process Not Added"}));
    Click(w.LocationButton(3));
    EXPECT_EQ(ListedEntries(), (Entries{{L" lead", L"C:\\lead.exe  "}, {L"Tool", L"old.exe"}}));
}

TEST_F(MainWindowTest, AddingToAMissingKeyWritesAndSaysNothing)
{
    auto& w = LoadWindow();
    Click(w.LocationButton(2));
    w.nameBox.SetText(L"svc");
    w.commandLineBox.SetText(L"svc.exe");
    Click(w.addButton);
    EXPECT_TRUE(host_.messageBoxes.empty());
    EXPECT_EQ(w.nameList.Count(), 0);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, qmtest::kRunServicesKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(MainWindowTest, BrowseQuotesAPathWithBlanksAndKeepsTheFieldWhenCancelled)
{
    auto& w = LoadWindow();
    w.nameBox.SetText(L"n");
    const struct {
        std::optional<std::wstring> chosen;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Tools\\tool.exe", L"C:\\Tools\\tool.exe"},
        {L"C:\\Program Files\\My Tool\\tool.exe", L"\"C:\\Program Files\\My Tool\\tool.exe\""},
        {std::nullopt, L"\"C:\\Program Files\\My Tool\\tool.exe\""},
    };
    for (const auto& c : cases) {
        host_.fileDialogAnswers.push_back(c.chosen);
        Click(w.browseButton);
        EXPECT_EQ(w.commandLineBox.Text(), c.expected);
    }
    EXPECT_TRUE(w.addButton.Enabled());
    EXPECT_EQ(host_.fileDialogs, std::vector<std::wstring>(3, L"Browse For File To Add to Startup"));
}
