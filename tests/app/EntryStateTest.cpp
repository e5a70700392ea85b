#include "app/EntryMenu.h"
#include "host/Application.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"
#include "support/DenyingDacl.h"
#include "support/MainWindowFixture.h"

#include "../launch/LinkBytes.h"

#include <commctrl.h>

#include <optional>

using qmtest::MainWindowTest;

namespace {

constexpr wchar_t kRun32Key[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::vector<BYTE> kDisabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

std::wstring MenuText(HMENU menu, UINT position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

} // namespace

TEST_F(MainWindowTest, ListsShowTheStateWindowsKeepsAndWhereEachEntryComesFrom)
{
    const std::wstring present = qm::App().Folder() + L"\\tests_app.exe";
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Native", L"\"" + present + L"\" /x");
    qmtest::SetString(HKEY_LOCAL_MACHINE, kRun32Key, L"Old Tool", L"C:\\Qm Gone\\old.exe -min");
    const qm::StartupKey& run32 = *qm::FindStartupKeyByName(L"hklm32");
    ASSERT_TRUE(qm::WriteValueRaw(HKEY_LOCAL_MACHINE, run32.approvedSubKey, L"Old Tool", {REG_BINARY, kDisabled}, 0, true));
    // RunOnce, switched off as a whole by a policy, and the policy's own list.
    const qm::StartupKey& once = *qm::FindStartupKeyByName(L"hklm-runonce");
    const qm::StartupKey& policy = *qm::FindStartupKeyByName(L"hklm-policies");
    qmtest::SetString(HKEY_LOCAL_MACHINE, once.subKey, L"*Setup", L"\"" + present + L"\"");
    qmtest::SetString(HKEY_LOCAL_MACHINE, policy.subKey, L"Managed", L"\"" + present + L"\"");
    const std::vector<BYTE> one = {1, 0, 0, 0};
    ASSERT_TRUE(qm::WriteValueRaw(HKEY_LOCAL_MACHINE, qm::kExplorerPolicies, L"DisableLocalMachineRunOnce", {REG_DWORD, one}, 0, true));
    // A shortcut in all users' Startup folder, named as Explorer names it.
    const std::string target(present.begin(), present.end());
    ASSERT_TRUE(qmtest::PutFile(sandbox_->CommonStartupFolder() + L"\\Shared.lnk", linkbytes::LocalLink(target, u"/s")));
    auto& w = LoadWindow();
    while (w.ProgramChecksPending())
        qm::App().DoEvents();

    // The machine's key first, then the other lists in the location's order, the names exactly
    // as stored.
    ASSERT_EQ(Items(w.nameList), (std::vector<std::wstring>{L"Native", L"Old Tool", L"*Setup", L"Managed", L"Shared"}));
    EXPECT_EQ(w.Entries()[1].key, &run32);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_EQ(w.nameList.Style(0).color, CLR_INVALID);
    EXPECT_EQ(w.nameList.Style(0).note, nullptr);
    EXPECT_EQ(w.nameList.Style(1).color, grey);
    EXPECT_EQ(std::wstring(w.nameList.Style(1).note), L"32-bit");
    EXPECT_EQ(w.commandLineList.Style(0).color, CLR_INVALID);
    EXPECT_NE(w.commandLineList.Style(1).color, CLR_INVALID);
    EXPECT_NE(w.commandLineList.Style(1).color, grey);
    EXPECT_EQ(qm::EntryTooltip(w, 0), qm::FindStartupKeyByName(L"hklm")->fullPath);
    EXPECT_EQ(qm::EntryTooltip(w, 1), L"Disabled at startup\r\n32-bit: " + std::wstring(run32.fullPath) +
                                          L"\r\nProgram not found: C:\\Qm Gone\\old.exe");
    EXPECT_EQ(w.nameList.Style(2).color, grey);
    EXPECT_EQ(std::wstring(w.nameList.Style(2).note), L"once");
    EXPECT_EQ(qm::EntryTooltip(w, 2),
        L"Not started: a policy tells Windows to skip this list (HKLM\\" + std::wstring(qm::kExplorerPolicies) +
            L": DisableLocalMachineRunOnce)\r\nonce: " + once.fullPath +
            L"\r\nWindows keeps no on/off state for RunOnce entries: it runs each once and deletes it");
    EXPECT_EQ(w.nameList.Style(3).color, CLR_INVALID);
    EXPECT_EQ(std::wstring(w.nameList.Style(3).note), L"policy");
    EXPECT_EQ(qm::EntryTooltip(w, 3), L"policy: " + std::wstring(policy.fullPath) +
                                          L"\r\nWindows keeps no on/off state for entries of this key\r\nGroup Policy may put it "
                                          L"back at its next refresh");
    EXPECT_EQ(w.Entries()[4].name, L"Shared.lnk");
    EXPECT_EQ(w.commandLineList.Item(4), present + L" /s");
    EXPECT_EQ(std::wstring(w.nameList.Style(4).note), L"Startup folder");
    EXPECT_EQ(qm::EntryTooltip(w, 4), L"Startup folder: " + sandbox_->CommonStartupFolder());
    EXPECT_EQ(GetMenuState(qm::BuildEntryMenu(w, 4).get(), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

TEST_F(MainWindowTest, TheContextMenuTurnsAnEntryOffAndOnAsTaskManagerDoes)
{
    const std::wstring program = qm::App().Folder() + L"\\tests_app.exe";
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"Tool", program + L" /tray");
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"Profile", L"p.exe");
    const qm::StartupKey& hkcu = *qm::FindStartupKeyByName(L"hkcu");
    auto& w = LoadWindow();
    Click(w.LocationButton(3));
    ASSERT_TRUE(SelectEntry(L"Tool"));
    for (const bool disabledAfter : {true, false}) {
        const qm::UniqueMenu menu = qm::BuildEntryMenu(w, 0);
        EXPECT_EQ(MenuText(menu.get(), 0), disabledAfter ? L"&Disable at Startup" : L"&Enable at Startup");
        EXPECT_EQ(MenuText(menu.get(), 1), L"&Open File Location");
        EXPECT_EQ(MenuText(menu.get(), 2), L"&Copy Command Line");
        qm::RunEntryMenuCommand(w, qm::kToggleStartupCommand);
        EXPECT_EQ(qm::DisabledEntries::Read(hkcu).Contains(L"Tool"), disabledAfter);
        ASSERT_NE(w.SelectedEntry(), nullptr);
        EXPECT_EQ(w.SelectedEntry()->disabled, disabledAfter);
    }
    EXPECT_TRUE(host_.messageBoxes.empty());
    // A file of the user's Startup folder is turned off in the folder's own state key.
    ASSERT_TRUE(qmtest::PutFile(sandbox_->UserStartupFolder() + L"\\run.cmd", {'@'}));
    Click(w.LocationButton(3));
    ASSERT_TRUE(SelectEntry(L"run.cmd"));
    qm::RunEntryMenuCommand(w, qm::kToggleStartupCommand);
    EXPECT_TRUE(qm::DisabledEntries::Read(*qm::FindStartupKeyByName(L"startup-user")).Contains(L"run.cmd"));
    ASSERT_TRUE(SelectEntry(L"Tool"));

    qm::RunEntryMenuCommand(w, qm::kCopyCommandLineCommand);
    EXPECT_EQ(ClipboardText(), program + L" /tray");
    qm::RunEntryMenuCommand(w, qm::kOpenFileLocationCommand);
    ASSERT_EQ(host_.shellOpens.size(), 1u);
    EXPECT_EQ(host_.shellOpens[0].file, L"explorer.exe");
    EXPECT_EQ(CompareStringOrdinal(host_.shellOpens[0].parameters.c_str(), -1, (L"/select,\"" + program + L"\"").c_str(), -1,
                  TRUE), CSTR_EQUAL);

    // A refused write says so and changes nothing.
    host_.messageBoxes.clear();
    {
        const qmtest::DenyingDacl deny(HKEY_CURRENT_USER, hkcu.approvedSubKey, KEY_SET_VALUE);
        ASSERT_TRUE(deny.Applied());
        qm::RunEntryMenuCommand(w, qm::kToggleStartupCommand);
    }
    ASSERT_EQ(host_.messageBoxes.size(), 1u);
    EXPECT_EQ(host_.messageBoxes[0].text, L"Tool was not disabled because its startup setting could not be changed.");
    EXPECT_EQ(host_.messageBoxes[0].title, L"Process Not Disabled");
    EXPECT_FALSE(qm::DisabledEntries::Read(hkcu).Contains(L"Tool"));

    // The default profile's key keeps no enabled state.
    Click(w.LocationButton(4));
    const qm::UniqueMenu profileMenu = qm::BuildEntryMenu(w, 0);
    EXPECT_EQ(GetMenuState(profileMenu.get(), 0, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
}

TEST_F(MainWindowTest, TooltipsFollowThePointerFromControlToControlAndItemToItem)
{
    const std::wstring longCommand = L"C:\\Windows\\System32\\cmd.exe /c " + std::wstring(260, L'x');
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Native", longCommand);
    qmtest::SetString(HKEY_LOCAL_MACHINE, kRun32Key, L"Old Tool", L"C:\\Qm Gone\\old.exe -min");
    auto& w = LoadWindow();
    while (w.ProgramChecksPending())
        qm::App().DoEvents();
    HWND tooltips = nullptr;
    // Where the pointer rests and the tip shown there, if any, once the tip had time to show.
    auto tipAt = [&](HWND control, POINT client) -> std::optional<std::wstring> {
        POINT screen = client;
        ClientToScreen(control, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        qm::App().DoEvents();
        if (!tooltips) {
            // Made when the pointer first comes.
            tooltips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
            if (!tooltips || GetWindow(tooltips, GW_OWNER) != w.Hwnd())
                return std::nullopt;
            SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
            SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_RESHOW, 1);
        }
        for (const ULONGLONG until = GetTickCount64() + 1000; GetTickCount64() < until && !IsWindowVisible(tooltips);)
            qm::App().DoEvents();
        if (!IsWindowVisible(tooltips))
            return std::nullopt;
        wchar_t text[1024] = {};
        GetWindowTextW(tooltips, text, 1024);
        return text;
    };
    RECT item{};
    SendMessageW(w.nameList.Hwnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const std::wstring runPath = qm::FindStartupKeyByName(L"hklm")->fullPath;
    const std::wstring run32Path = qm::FindStartupKeyByName(L"hklm32")->fullPath;

    EXPECT_EQ(tipAt(w.backupsButton.Hwnd(), {10, 10}), L"View current backups");
    EXPECT_EQ(tipAt(w.nameList.Hwnd(), {item.left + 4, item.top + 2}),
        L"32-bit: " + run32Path + L"\r\nProgram not found: C:\\Qm Gone\\old.exe");
    EXPECT_EQ(tipAt(w.nameList.Hwnd(), {item.left + 4, item.top - 3}), runPath);
    // Between the items the list names its location and every key it lists.
    std::wstring everyKey = L"HKLM Run lists";
    for (const qm::StartupKey* key : qm::Location(1).keys)
        everyKey += L"\r\n" + qm::SourcePath(*key);
    EXPECT_EQ(tipAt(w.nameList.Hwnd(), {item.left + 4, item.bottom + 20}), everyKey);
    // A command line wider than its list is shown whole; one that fits is not repeated.
    EXPECT_EQ(tipAt(w.commandLineList.Hwnd(), {item.left + 4, item.top - 3}), longCommand + L"\r\n" + runPath);
    EXPECT_EQ(tipAt(w.commandLineList.Hwnd(), {item.left + 4, item.top + 2}),
        L"32-bit: " + run32Path + L"\r\nProgram not found: C:\\Qm Gone\\old.exe");
    SetCursorPos(0, 0);
}
