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

// A registered top-level window standing in for the main window, which owns the About window.
class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() { qm::App().AddWindow(main_); }
    ~AboutWindowTest() override
    {
        if (qm::FrmAbout* about = qm::FindAboutWindow())
            DestroyWindow(about->Hwnd());
        qm::App().RemoveWindow(main_);
        DestroyWindow(main_);
        TakeQuitMessage();
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
    HWND main_ = CreateWindowExW(0, L"STATIC", L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
        qm::App().Module(), nullptr);
};

} // namespace

TEST_F(AboutWindowTest, IsACentredFixedDialogOwnedByTheMainWindowWithEveryControlInPlace)
{
    qm::FrmAbout& about = Open();
    EXPECT_EQ(qm::WindowText(about.Hwnd()), L"About Quillmoor");
    EXPECT_EQ(about.titleLabel.Caption(), L"Quillmoor");
    EXPECT_EQ(about.versionLabel.Caption(), L"Version 1.0.0");
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
        {about.picture, {8, 8, 79, 155}},        {about.icon, {336, 0, 368, 32}},
        {about.titleLabel, {104, 16, 323, 32}},    {about.versionLabel, {104, 40, 203, 55}},
        {about.aboutLabel, {213, 42, 387, 55}},    {about.descriptionFrame, {104, 56, 369, 129}},
        {about.descriptionLabel, {112, 64, 365, 118}}, {about.mailingListButton, {96, 136, 249, 159}},
        {about.homePageButton, {288, 136, 371, 159}},  {about.disclaimerFrame, {8, 160, 281, 257}},
        {about.disclaimerLabel, {16, 176, 274, 255}}, {about.systemInfoButton, {288, 184, 371, 207}},
        {about.closeButton, {288, 232, 371, 255}},  {about.hiddenTextBox, {24, 288, 353, 307}},
    };
    for (const auto& c : cases) {
        RECT r;
        GetWindowRect(c.control.Hwnd(), &r);
        MapWindowPoints(nullptr, about.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.pixels)) << testing::PrintToString(c.control.Name()) << " at " << r.left << ","
                                              << r.top << "-" << r.right << "," << r.bottom;
    }
}

TEST_F(AboutWindowTest, ClosingItLeavesTheMainWindow)
{
    const std::function<void(qm::FrmAbout&)> closers[] = {
        [](qm::FrmAbout& about) { about.closeButton.Click(); },
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
