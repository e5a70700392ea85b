#include "host/Application.h"
#include "launch/FrmAbout.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"
#include "support/WindowInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qmtest::PressKey;
using qmtest::TakeQuitMessage;

LOGFONTW FontOf(const qm::Control& c)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c.Hwnd(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

// A registered top-level window standing in for the main window, which owns the About window.
class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() { MakeMain(); }
    ~AboutWindowTest() override
    {
        if (qm::FrmAbout* about = qm::FindAboutWindow())
            DestroyWindow(about->Hwnd());
        qm::App().RemoveWindow(main_);
        DestroyWindow(main_);
        TakeQuitMessage();
    }
    void MakeMain()
    {
        main_ = CreateWindowExW(0, L"STATIC", L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
            qm::App().Module(), nullptr);
        qm::App().AddWindow(main_);
    }
    qm::FrmAbout& Open()
    {
        qm::ShowAboutWindow(main_);
        qm::FrmAbout* about = qm::FindAboutWindow();
        EXPECT_NE(about, nullptr);
        about->ApplyDpi(qm::kBaseDpi);
        return *about;
    }

    qmtest::RegistrySandbox sandbox_{L"AboutWindow"};
    qmtest::ScriptedHost host_;
    HWND main_ = nullptr;
};

} // namespace

TEST_F(AboutWindowTest, IsACentredFixedDialogOwnedByTheMainWindowWithEveryControlInPlace)
{
    qm::FrmAbout& about = Open();
    RECT client;
    RECT frame;
    GetClientRect(about.Hwnd(), &client);
    GetWindowRect(about.Hwnd(), &frame);
    EXPECT_EQ(client.right, 382);
    EXPECT_EQ(client.bottom, 266);
    EXPECT_EQ(GetWindowLongW(about.Hwnd(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
        WS_SYSMENU);
    EXPECT_EQ(GetWindowLongW(about.Hwnd(), GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
        WS_EX_DLGMODALFRAME);
    EXPECT_EQ(GetWindow(about.Hwnd(), GW_OWNER), main_);
    MONITORINFO monitor{sizeof(MONITORINFO), {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(about.Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 2);
    EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 2);

    // Pixels at 96 DPI; the labels in a frame are offset by the frame's position.
    const struct {
        const qm::Control& control;
        RECT pixels;
    } cases[] = {
        {about.picIcon, {8, 8, 79, 155}},        {about.Image1, {336, 0, 368, 32}},
        {about.lblTitle, {104, 16, 323, 32}},    {about.lblVersion, {104, 40, 203, 55}},
        {about.lblAbout, {213, 42, 387, 55}},    {about.Frame2, {104, 56, 369, 129}},
        {about.lblDescription, {112, 64, 365, 118}}, {about.Command1, {96, 136, 249, 159}},
        {about.Command2, {288, 136, 371, 159}},  {about.Frame1, {8, 160, 281, 257}},
        {about.lblDisclaimer, {16, 176, 274, 255}}, {about.Command4, {288, 184, 371, 207}},
        {about.Command3, {288, 232, 371, 255}},  {about.txtAbout, {24, 288, 353, 307}},
    };
    for (const auto& c : cases) {
        RECT r;
        GetWindowRect(c.control.Hwnd(), &r);
        MapWindowPoints(nullptr, about.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.pixels)) << testing::PrintToString(c.control.Name()) << " at " << r.left << ","
                                              << r.top << "-" << r.right << "," << r.bottom;
    }
}

TEST_F(AboutWindowTest, LoadSetsTheCaptionsInTheirFontsAndColours)
{
    qm::FrmAbout& about = Open();
    wchar_t caption[64] = {};
    GetWindowTextW(about.Hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"About Quillmoor");
    EXPECT_EQ(about.lblTitle.Caption(), L"Quillmoor");
    EXPECT_EQ(about.lblVersion.Caption(), L"Version 1.0.0");
    EXPECT_NE(SendMessageW(about.Image1.Hwnd(), STM_GETICON, 0, 0), 0);

    const HDC dc = CreateCompatibleDC(nullptr);
    const struct {
        const qm::Label& label;
        LONG weight;
        LONG height;
        COLORREF text;
    } labels[] = {
        {about.lblTitle, FW_BOLD, -13, RGB(0, 0, 255)},
        {about.lblVersion, FW_BOLD, -13, RGB(0, 0, 255)},
        {about.lblDescription, FW_NORMAL, -11, GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(testing::PrintToString(l.label.Name()));
        EXPECT_EQ(FontOf(l.label).lfWeight, l.weight);
        EXPECT_EQ(FontOf(l.label).lfHeight, l.height);
        SendMessageW(about.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(l.label.Hwnd()));
        EXPECT_EQ(GetTextColor(dc), l.text);
    }
    DeleteDC(dc);
    // The buttons take their bold face from the window's stored layout.
    for (const qm::TintButtonControl* button : {&about.Command1, &about.Command2, &about.Command4, &about.Command3})
        EXPECT_TRUE(button->Button()->Model().FontBold());
}

TEST_F(AboutWindowTest, TabVisitsTheButtonsInReadingOrderThenTheHiddenTextBox)
{
    qm::FrmAbout& about = Open();
    ASSERT_EQ(GetFocus(), about.Command1.Hwnd());
    std::vector<HWND> visited;
    for (int i = 0; i < 5; ++i) {
        PressKey(GetFocus(), VK_TAB, false);
        visited.push_back(GetFocus());
    }
    EXPECT_EQ(visited, (std::vector<HWND>{about.Command2.Hwnd(), about.Command4.Hwnd(), about.Command3.Hwnd(),
                           about.txtAbout.Hwnd(), about.Command1.Hwnd()}));
}

TEST_F(AboutWindowTest, EachButtonMakesItsOneCall)
{
    const struct {
        UINT key;
        std::vector<std::wstring> shellOpens;
        std::vector<std::wstring> messages;
    } cases[] = {
        {'J', {L"https://www.quillmoor.example/mailing-list"}, {}},
        {'V', {L"https://www.quillmoor.example/"}, {}},
        // Nothing is registered in the sandbox, so the tool cannot be found.
        {'S', {}, {L"System Information Is Unavailable At This Time|0|Quillmoor"}},
    };
    qm::FrmAbout& about = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.key));
        host_.shellOpens.clear();
        host_.messageBoxes.clear();
        PressKey(about.Hwnd(), c.key, true);
        std::vector<std::wstring> shellOpens;
        for (const auto& call : host_.shellOpens)
            shellOpens.push_back(call.file + call.parameters + call.directory);
        std::vector<std::wstring> messages;
        for (const auto& box : host_.messageBoxes)
            messages.push_back(box.text + L"|" + std::to_wstring(box.code) + L"|" + box.title);
        EXPECT_EQ(shellOpens, c.shellOpens);
        EXPECT_EQ(messages, c.messages);
        EXPECT_TRUE(host_.processes.empty());
        EXPECT_EQ(qm::FindAboutWindow(), &about);
    }
}

TEST_F(AboutWindowTest, ClosingItLeavesTheMainWindow)
{
    const std::function<void(qm::FrmAbout&)> closers[] = {
        [](qm::FrmAbout& about) { about.Command3.Click(); },
        [](qm::FrmAbout& about) { PressKey(about.Hwnd(), 'O', true); },
        [](qm::FrmAbout& about) { SendMessageW(about.Hwnd(), WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closers) {
        SCOPED_TRACE(&close - closers);
        qm::FrmAbout& about = Open();
        const HWND hwnd = about.Hwnd();
        close(about);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(qm::FindAboutWindow(), nullptr);
        EXPECT_EQ(qm::App().Windows(), std::vector<HWND>{main_});
    }
}

TEST_F(AboutWindowTest, ShowingItAgainKeepsOneWindowAndLoadsOncePerCreation)
{
    qm::FrmAbout& first = Open();
    first.lblTitle.SetCaption(L"changed");
    qm::ShowAboutWindow(main_);
    EXPECT_EQ(qm::FindAboutWindow(), &first);
    EXPECT_EQ(qm::App().Windows().size(), 2u);
    EXPECT_EQ(first.lblTitle.Caption(), L"changed");

    first.Command3.Click();
    EXPECT_EQ(Open().lblTitle.Caption(), L"Quillmoor");
}

TEST_F(AboutWindowTest, EndingTheProgramDestroysIt)
{
    // Unowned, it goes because it is registered; owned, also with its owner.
    for (const bool owned : {false, true}) {
        SCOPED_TRACE(owned);
        qm::ShowAboutWindow(owned ? main_ : nullptr);
        const HWND about = qm::FindAboutWindow()->Hwnd();
        qm::App().EndProgram();
        EXPECT_FALSE(IsWindow(about));
        EXPECT_FALSE(IsWindow(main_));
        EXPECT_EQ(qm::FindAboutWindow(), nullptr);
        EXPECT_TRUE(TakeQuitMessage());
        qm::App().RemoveWindow(main_); // the stand-in is no Form and does not unregister itself
        MakeMain();
    }
}

TEST_F(AboutWindowTest, PictureIsDrawnIntoItsRectangle)
{
    qm::FrmAbout& about = Open();
    RECT r;
    GetClientRect(about.picIcon.Hwnd(), &r);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateBitmap(r.right, r.bottom, 1, 32, nullptr);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(about.picIcon.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    // The purple rim on both far corners, lilac at the top, the face colour at the bottom.
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(64, 64, 127));
    EXPECT_EQ(GetPixel(dc, r.right - 1, r.bottom - 1), RGB(64, 64, 127));
    EXPECT_LT(GetGValue(GetPixel(dc, r.right / 2, 1)), 200);
    EXPECT_GT(GetGValue(GetPixel(dc, r.right / 2, r.bottom - 2)), 225);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
