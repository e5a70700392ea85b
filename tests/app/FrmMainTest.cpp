#include "registry/StartupLocations.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/Handles.h"
#include "launch/FrmAbout.h"
#include "support/MainWindowFixture.h"

#include <oleacc.h>


using qmtest::MainWindowTest;
using Entries = std::set<std::pair<std::wstring, std::wstring>>;

namespace {

const std::wstring kKeys[] = {qmtest::kRunKey, qmtest::kRunServicesKey, qmtest::kRunKey, qmtest::kDefaultRunKey};
const HKEY kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS};

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What a screen reader is told of a window's state.
long AccessibleState(HWND hwnd)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
            reinterpret_cast<void**>(&accessible))))
        return -1;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT state{};
    const HRESULT hr = accessible->get_accState(self, &state);
    accessible->Release();
    return SUCCEEDED(hr) && state.vt == VT_I4 ? state.lVal : -1;
}

} // namespace

TEST_F(MainWindowTest, StartsWithLocationOneInTheEntriesView)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Alpha", L"C:\\alpha.exe");
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"", L"default data");
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"  padded  ", L"   C:\\padded.exe");
    qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"NotHere", L"x");
    const std::vector<std::uint8_t> content = {'R', 'E', 'G'};
    ASSERT_EQ(qm::WriteWholeFile(BackupPath(L"Early"), content), 0u);
    auto& w = LoadWindow();
    // The backup list is read at start: a file that comes later waits for the next refill.
    ASSERT_EQ(qm::WriteWholeFile(BackupPath(L"Late"), content), 0u);
    // The backups view is made on demand; made now, it shows what the user would see.
    static_cast<void>(w.CreateLaterControls());
    EXPECT_EQ(Items(w.backupList), std::vector<std::wstring>{L"Early"});

    EXPECT_EQ(ListedEntries(), (Entries{{L"Alpha", L"C:\\alpha.exe"}, {L"", L"default data"}, {L"  padded  ", L"C:\\padded.exe"}}));
    EXPECT_TRUE(w.locationOptions[0].Value());
    EXPECT_EQ(w.nameList.SelectedIndex(), -1);
    EXPECT_EQ(w.commandLineList.SelectedIndex(), -1);
    EXPECT_FALSE(w.deleteButton.Enabled());
    EXPECT_FALSE(w.addButton.Enabled());
    EXPECT_FALSE(w.restoreButton.Enabled());
    EXPECT_TRUE(w.commandLineList.Visible());
    EXPECT_FALSE(w.backupList.Visible());
}

TEST_F(MainWindowTest, EachLocationButtonListsItsOwnKey)
{
    for (int location = 1; location <= 4; ++location) {
        const std::wstring name = L"entry" + std::to_wstring(location);
        // Location 3 shares its sub-key with location 1 under another root.
        qmtest::SetString(kRoots[location - 1], kKeys[location - 1], name, L"cmd " + std::to_wstring(location));
    }
    auto& w = LoadWindow();
    SetCursorPos(0, 0);
    for (int location : {2, 4, 3, 1, 1}) {
        SCOPED_TRACE(location);
        Click(w.LocationButton(location));
        EXPECT_EQ(w.CurrentLocation(), location);
        EXPECT_EQ(ListedEntries(), (Entries{{L"entry" + std::to_wstring(location), L"cmd " + std::to_wstring(location)}}));
        // The button of the location shown is read out as selected; its lit look is the
        // black-box run's, on the screen.
        for (int other = 1; other <= 4; ++other) {
            const HWND button = w.LocationButton(other).Button()->hwnd();
            EXPECT_EQ((AccessibleState(button) & STATE_SYSTEM_SELECTED) != 0, other == location) << other;
        }
    }
}

TEST_F(MainWindowTest, SelectionFollowsInBothListsAndASwitchClearsIt)
{
    for (const wchar_t* name : {L"My App", L"Other Tool X", L"third"})
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, name, std::wstring(L"run ") + name);
    auto& w = LoadWindow();

    for (qm::ListBox* clicked : {&w.nameList, &w.commandLineList}) {
        for (int i = 0; i < 3; ++i) {
            clicked->SetSelectedIndex(i);
            const std::wstring name = w.nameList.Item(i);
            EXPECT_EQ(w.nameList.SelectedIndex(), i);
            EXPECT_EQ(w.commandLineList.SelectedIndex(), i);
            EXPECT_EQ(w.commandLineList.SelectedText(), L"run " + name);
            EXPECT_EQ(w.SelectedEntryName(), name);
            EXPECT_TRUE(w.deleteButton.Enabled());
        }
    }

    Click(w.LocationButton(3));
    EXPECT_EQ(w.nameList.SelectedIndex(), -1);
    EXPECT_FALSE(w.deleteButton.Enabled());
    // The base name of the last selection stays for a removal's backup name.
    EXPECT_FALSE(w.backupNameBox.Text().empty());
}

TEST_F(MainWindowTest, BackupsViewUncoversItsButtonsAndFinishedCoversThem)
{
    auto& w = LoadWindow();
    auto children = [&] {
        int count = 0;
        EnumChildWindows(w.Hwnd(), [](HWND, LPARAM n) -> BOOL { return ++*reinterpret_cast<int*>(n) > 0; },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    // Shown without the view's list and its two buttons, which are made when first reached.
    const int shownWith = children();
    const RECT finished = ChildRect(w.finishedButton.Hwnd());
    EXPECT_EQ(children(), shownWith + 3);
    const POINT inFinished{finished.left + 5, finished.top + 5};
    const RECT back = ChildRect(w.commandLineList.Hwnd());
    const POINT inUpperList{back.left + 5, back.top + 5};

    EXPECT_EQ(ChildWindowFromPointEx(w.Hwnd(), inFinished, CWP_SKIPINVISIBLE), w.commandLineList.Hwnd());
    Click(w.backupsButton);
    EXPECT_EQ(ChildWindowFromPointEx(w.Hwnd(), inFinished, CWP_SKIPINVISIBLE), w.finishedButton.Hwnd());
    EXPECT_EQ(ChildWindowFromPointEx(w.Hwnd(), inUpperList, CWP_SKIPINVISIBLE), w.backupList.Hwnd());
    EXPECT_TRUE(w.nameList.Visible());
    Click(w.backupsButton); // harmless in its own view
    EXPECT_TRUE(w.backupList.Visible());
    Click(w.finishedButton);
    EXPECT_EQ(ChildWindowFromPointEx(w.Hwnd(), inFinished, CWP_SKIPINVISIBLE), w.commandLineList.Hwnd());
    EXPECT_FALSE(w.backupList.Visible());
}

TEST_F(MainWindowTest, LayoutIsExactAt96DpiAndScalesAt144)
{
    auto& w = LoadWindow();
    RECT client;
    GetClientRect(w.Hwnd(), &client);
    EXPECT_EQ(client.right, 549);
    EXPECT_EQ(client.bottom, 400);
    EXPECT_EQ(GetWindowLongW(w.Hwnd(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    std::vector<qm::Control*> controls = {&w.nameList, &w.commandLineList, &w.backupList, &w.nameBox, &w.commandLineBox,
        &w.addButton, &w.browseButton, &w.locationButtons[0], &w.locationButtons[3], &w.finishedButton, &w.restoreButton, &w.closeButton,
        &w.titleLabel, &w.nameLabel, &w.locationOptions[3], &w.backupNameBox};
    auto overlaps = [&] {
        std::vector<bool> result;
        for (size_t i = 0; i < controls.size(); ++i)
            for (size_t j = i + 1; j < controls.size(); ++j) {
                RECT a = ChildRect(controls[i]->Hwnd()), b = ChildRect(controls[j]->Hwnd()), both;
                result.push_back(IntersectRect(&both, &a, &b) != FALSE);
            }
        return result;
    };
    const auto overlapsAt96 = overlaps();
    for (UINT dpi : {96u, 144u, 192u}) {
        w.ApplyDpi(dpi);
        for (qm::Control* c : controls) {
            SCOPED_TRACE(c->Name());
            const RECT r = ChildRect(c->Hwnd());
            const auto& t = c->Rect();
            // Every stored position is a whole number of pixels at 96 DPI; at 144 halves round up.
            auto scaled = [dpi](int twips) { return (twips * static_cast<int>(dpi) + 720) / 1440; };
            EXPECT_EQ(r.left, scaled(t.left));
            EXPECT_EQ(r.top, scaled(t.top));
            EXPECT_EQ(r.right - r.left, scaled(t.width));
            EXPECT_EQ(r.bottom - r.top, scaled(t.height));
        }
        GetClientRect(w.Hwnd(), &client);
        EXPECT_EQ(client.right, (8235 * static_cast<int>(dpi) + 720) / 1440);
        // The buttons' captions follow in a font of the new DPI.
        EXPECT_EQ(w.closeButton.Button()->Surface()->Dpi(), dpi);
        EXPECT_EQ(overlaps(), overlapsAt96);
        // Pictures and the window's icon grow with the captions, drawn at their new size: ink
        // reaches into the part a 16-pixel icon leaves empty.
        const int side = static_cast<int>(16 * dpi / 96);
        qm::TintButton& button = *w.deleteButton.Button();
        const auto& placed = button.Model().Placed();
        EXPECT_EQ(placed.pictureWidth, side);
        const HDC surface = button.Surface()->Dc();
        const COLORREF face = GetPixel(surface, placed.pictureLeft + side - 1, placed.pictureTop);
        int inkBeyond16 = 0;
        for (int y = 16; y < side; ++y)
            for (int x = 0; x < side; ++x)
                inkBeyond16 += GetPixel(surface, placed.pictureLeft + x, placed.pictureTop + y) != face;
        EXPECT_EQ(inkBeyond16 > 0, dpi > 96);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(w.Hwnd(), WM_GETICON, ICON_SMALL, 0)), &info));
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, side);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
}

TEST_F(MainWindowTest, TabFollowsTheWindowsOwnOrder)
{
    auto& w = LoadWindow();
    w.locationButtons[0].Focus();
    std::vector<std::wstring> visited;
    for (int i = 0; i < 22; ++i) {
        visited.emplace_back();
        for (qm::Control* c : w.TabOrder())
            if (c->Hwnd() == GetFocus())
                visited.back() = c->Name();
        PressKey(VK_TAB);
    }
    // Disabled (Delete, Add, Restore), hidden (the backup list) and unselected option buttons
    // are passed over; the controls outside the visible area still take the focus.
    const std::vector<std::wstring> expected = {L"tintButton1", L"tintButton2", L"tintButton3", L"tintButton4",
        L"lstName", L"lstCmdLine", L"tintButton5", L"tintButton6", L"tintButton7", L"tintButton8", L"cmdBackup",
        L"Command1", L"txtName", L"txtCmdLine", L"cmdBrowse", L"optRun", L"tintButton12", L"tintButton9",
        L"txtDelete", L"tintButton1", L"tintButton2", L"tintButton3"};
    EXPECT_EQ(visited, expected);

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    w.locationButtons[0].Focus();
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), w.backupNameBox.Hwnd());
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), w.finishedButton.Hwnd());
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(MainWindowTest, AccessKeysClickUniqueLettersAndCycleSharedOnes)
{
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"profile", L"p.exe");
    auto& w = LoadWindow();
    static_cast<void>(w.CreateLaterControls());
    w.nameList.Focus();

    // H is shared by "&HKLM Run" and "&Help/About": focus moves on in tab order, nothing runs.
    PressKey('H', true);
    EXPECT_EQ(GetFocus(), w.helpButton.Hwnd());
    PressKey('H', true);
    EXPECT_EQ(GetFocus(), w.locationButtons[0].Hwnd());
    PressKey('B', true);
    EXPECT_EQ(GetFocus(), w.backupsButton.Hwnd());
    PressKey('B', true);
    EXPECT_EQ(GetFocus(), w.browseButton.Hwnd());
    EXPECT_FALSE(w.backupList.Visible());
    EXPECT_TRUE(host_.shellOpens.empty());

    PressKey('U', true);
    EXPECT_EQ(w.CurrentLocation(), 4);
    EXPECT_EQ(ListedEntries(), (Entries{{L"profile", L"p.exe"}}));

    // Disabled "D&elete Selection" does nothing; covered "&Finished" works but changes nothing.
    PressKey('E', true);
    PressKey('F', true);
    EXPECT_TRUE(w.commandLineList.Visible());
    EXPECT_FALSE(w.backupList.Visible());
}

TEST_F(MainWindowTest, HelpMenuOpensTheHelpPageAndTheAboutWindow)
{
    auto& w = LoadWindow();
    SendMessageW(w.Hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(w.HelpMenu(), 0), 0), 0);
    ASSERT_EQ(host_.shellOpens.size(), 1u);
    EXPECT_EQ(host_.shellOpens[0].file, qm::App().Folder() + L"\\Help.htm");
    EXPECT_EQ(host_.shellOpens[0].parameters, L"");
    EXPECT_EQ(host_.shellOpens[0].directory, L"");

    SendMessageW(w.Hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(w.HelpMenu(), 2), 0), 0);
    ASSERT_NE(qm::FindAboutWindow(), nullptr);
    // Modeless, and gone with the main window, which the Close button ends.
    const HWND about = qm::FindAboutWindow()->Hwnd();
    const HWND hwnd = w.Hwnd();
    Click(w.closeButton);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(qm::App().Windows().empty());
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(MainWindowTest, ListsScrollAsFarAsTheirWidestItemAtEveryDpi)
{
    const std::wstring longLine = L"C:\\Program Files\\" + std::wstring(150, L'W') + L"\\tool.exe /\u0416";
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Long", longLine);
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Short", L"s.exe");
    auto& w = LoadWindow();
    auto textWidth = [](const qm::ListBox& list, const std::wstring& text) {
        const HDC dc = GetDC(list.Hwnd());
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list.Hwnd(), WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(list.Hwnd(), dc);
        return static_cast<int>(size.cx);
    };
    for (UINT dpi : {96u, 192u, 96u}) {
        SCOPED_TRACE(dpi);
        w.ApplyDpi(dpi);
        const int width = textWidth(w.commandLineList, longLine);
        EXPECT_GE(w.commandLineList.ScrollWidth(), width);
        EXPECT_LE(w.commandLineList.ScrollWidth(), width + MulDiv(16, static_cast<int>(dpi), 96));
    }
    Click(w.LocationButton(3));
    EXPECT_EQ(w.commandLineList.ScrollWidth(), 0);
}

TEST_F(MainWindowTest, WaitingForAnotherProgramPaintsButTakesNoInput)
{
    auto& w = LoadWindow();
    const qm::UniqueKernelHandle timer(CreateWaitableTimerW(nullptr, TRUE, nullptr));
    LARGE_INTEGER due{};
    due.QuadPart = -2000000; // 200 ms
    ASSERT_TRUE(SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE));
    const HWND close = w.closeButton.Hwnd();
    PostMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(w.nameList.Hwnd(), WM_SYSKEYDOWN, 'O', 1 << 29);
    InvalidateRect(w.titleLabel.Hwnd(), nullptr, TRUE);

    EXPECT_TRUE(qm::App().WaitPaintingOnly(timer.get(), 5000));
    RECT stillInvalid{};
    EXPECT_FALSE(GetUpdateRect(w.titleLabel.Hwnd(), &stillInvalid, FALSE));
    qm::App().DoEvents();
    EXPECT_TRUE(IsWindow(w.Hwnd()));
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(MainWindowTest, ADisabledButtonPassesTheFocusOn)
{
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Entry", L"e.exe");
    auto& w = LoadWindow();
    ASSERT_TRUE(SelectEntry(L"Entry"));
    w.deleteButton.Focus();
    ASSERT_EQ(GetFocus(), w.deleteButton.Hwnd());
    // Listing again disables Delete: the focus goes on to "&Backups", next in the tab order.
    Click(w.LocationButton(1));
    EXPECT_FALSE(w.deleteButton.Enabled());
    EXPECT_EQ(GetFocus(), w.backupsButton.Hwnd());
}

// Focus given back when the window is activated again.

namespace {

constexpr wchar_t kFocusBoxTitle[] = L"Quillmoor focus test";

// Answers the message box of kFocusBoxTitle with No once it is up.
void CALLBACK AnswerFocusBoxNo(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (const HWND box = FindWindowW(L"#32770", kFocusBoxTitle)) {
        KillTimer(nullptr, timer);
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    }
}

} // namespace

TEST_F(MainWindowTest, ActivatedAgainItGivesTheFocusBackToTheControlThatHadIt)
{
    auto& w = LoadWindow();
    const HWND other = CreateWindowExW(0, L"STATIC", L"Other program", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr,
        nullptr, qm::App().Module(), nullptr);
    enum class Away { MessageBox, AboutWindow, OtherWindow };
    const struct {
        const char* name;
        Away away;
        qm::Control& focused;
        // Where Tab goes from there.
        qm::Control& next;
    } cases[] = {
        {"a message box answered No", Away::MessageBox, w.nameList, w.commandLineList},
        {"the About window closed", Away::AboutWindow, w.nameBox, w.commandLineBox},
        {"another program's window", Away::OtherWindow, w.LocationButton(3), w.LocationButton(4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.focused.Focus();
        ASSERT_EQ(GetFocus(), c.focused.Hwnd());
        switch (c.away) {
        case Away::MessageBox:
            SetTimer(nullptr, 0, 20, &AnswerFocusBoxNo);
            EXPECT_EQ(MessageBoxW(w.Hwnd(), L"Delete?", kFocusBoxTitle, MB_YESNO | MB_ICONQUESTION), IDNO);
            break;
        case Away::AboutWindow:
            SendMessageW(w.Hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(w.HelpMenu(), 2), 0), 0);
            ASSERT_NE(qm::FindAboutWindow(), nullptr);
            EXPECT_EQ(GetActiveWindow(), qm::FindAboutWindow()->Hwnd());
            qm::FindAboutWindow()->closeButton.Click();
            break;
        case Away::OtherWindow:
            SetForegroundWindow(other);
            EXPECT_EQ(GetActiveWindow(), other);
            SetForegroundWindow(w.Hwnd());
            break;
        }
        qm::App().DoEvents();
        EXPECT_EQ(GetActiveWindow(), w.Hwnd());
        EXPECT_EQ(GetFocus(), c.focused.Hwnd());
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), c.next.Hwnd());
    }
    DestroyWindow(other);
}
