#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using tinttest::HostWindow;

// Whether the action had the window drawn again.
bool Drawn(HWND window, const std::function<void()>& action)
{
    ValidateRect(window, nullptr);
    action();
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

TEST(TintButtonWindow, DrawsWhenItsLookChangesOrIsForcedAndDrawingIsOn)
{
    HostWindow host;
    auto button = tinttest::NewButton(host, 60, 20);
    const HWND w = button->hwnd();
    const LPARAM in = MAKELPARAM(5, 5);
    auto face = [&] { return tinttest::SurfacePixels(button->Surface()->Dc()).At(5, 10); };
    EXPECT_FALSE(Drawn(w, [&] { SendMessageW(w, WM_LBUTTONUP, 0, in); })) << "released again";
    EXPECT_TRUE(Drawn(w, [&] { SendMessageW(w, WM_MBUTTONDOWN, MK_MBUTTON, in); })) << "pressed";
    EXPECT_TRUE(Drawn(w, [&] { SendMessageW(w, WM_MBUTTONUP, 0, in); })) << "released";
    EXPECT_TRUE(Drawn(w, [&] { SetFocus(w); })) << "focused: forced";


    button->Model().SetColorScheme(qm::SchemeCustom);
    button->Model().SetBackColor(0x00FF00);
    button->DisableRefresh();
    EXPECT_FALSE(Drawn(w, [&] { button->Model().SetBackColor(0x0000FF); })) << "drawing off";
    EXPECT_EQ(face(), 0x00FF00u);
    EXPECT_TRUE(Drawn(w, [&] { button->Refresh(); })) << "refreshed";
    EXPECT_EQ(face(), 0x0000FFu);
}

TEST(TintButtonWindow, RegionAndInnerRectangleOfEachStyle)
{
    // Corners with their neighbours, the middle of each edge and the centre of a 20 x 10
    // window, one digit each; "?" where rasterisers differ (the rim of an ellipse).
    constexpr POINT kProbes[] = {{0, 0},  {1, 0},  {2, 0}, {0, 1},  {0, 2},  {19, 0},  {18, 0},
                                 {19, 1}, {0, 9},  {1, 9}, {0, 8},  {19, 9}, {18, 9},  {19, 8},
                                 {10, 0}, {0, 5},  {19, 5}, {10, 9}, {10, 5}};
    const std::string whole = "11111 111 111 111 11111";
    const std::string fourCorners = "01111 011 011 011 11111";
    const std::string rounded = "00101 000 000 000 11111";
    struct Case {
        std::int32_t type;
        std::string inside;
        RECT inner; // of the same style sized 100 x 24
    } const cases[] = {
        {qm::TypeFramed, fourCorners, {4, 4, 96, 20}},   {qm::TypeStandard, whole, {4, 4, 96, 20}},
        {qm::TypeGradient, rounded, {4, 4, 96, 20}},     {qm::TypeRoundedBevel, rounded, {4, 4, 96, 20}},
        {qm::TypeOutlined, "11111 011 011 111 11111", {4, 4, 96, 20}}, {qm::TypeThinRaised, whole, {3, 3, 97, 21}},
        {qm::TypeHotFlat, whole, {3, 3, 97, 21}},        {qm::TypeOval, "00000 000 000 000 1???1", {3, 3, 97, 21}},
        {qm::TypeShaded, fourCorners, {6, 6, 96, 20}},   {15, whole, {4, 4, 96, 20}},
        {0, whole, {4, 4, 96, 20}},
    };
    HostWindow host;
    for (const auto& c : cases) {
        auto button = tinttest::NewButton(host, 20, 10);
        button->Model().SetButtonType(c.type);
        const qm::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        // A window without a region is its whole rectangle.
        auto inRegion = [&](int x, int y) {
            return GetWindowRgn(button->hwnd(), region.get()) == ERROR || PtInRegion(region.get(), x, y);
        };
        std::string expected = c.inside;
        std::erase(expected, ' ');
        std::string inside;
        for (std::size_t i = 0; i < std::size(kProbes); ++i)
            inside += expected[i] == '?' ? '?' : inRegion(kProbes[i].x, kProbes[i].y) ? '1' : '0';
        EXPECT_EQ(inside, expected) << "ButtonType " << c.type;

        // A new size brings a new region and inner rectangle; the bottom-right corner is probe 11.
        SetWindowPos(button->hwnd(), nullptr, 0, 0, 100, 24, SWP_NOMOVE | SWP_NOZORDER);
        if (expected[11] != '?') {
            EXPECT_EQ(inRegion(99, 23), expected[11] == '1') << "ButtonType " << c.type;
        }
        const RECT inner = button->Model().InnerRect();
        EXPECT_TRUE(EqualRect(&inner, &c.inner)) << "ButtonType " << c.type;
    }
}

TEST(TintButtonWindow, CaptionIsTheWindowTextAndIsMeasuredInTheButtonsFont)
{
    HostWindow host;
    auto button = tinttest::NewButton(host, 70, 44);
    qm::TintButtonModel& model = button->Model();
    model.SetButtonType(qm::TypeHotFlat);
    model.SetColorScheme(qm::SchemeClassic);
    model.SetCaption(L"&Backups");
    wchar_t text[32] = {};
    GetWindowTextW(button->hwnd(), text, 32);
    EXPECT_STREQ(text, L"&Backups");

    // "&" marks the access key and takes no room; "&&" shows one ampersand.
    const int marked = model.Placed().captionWidth;
    model.SetCaption(L"Backups");
    EXPECT_EQ(model.Placed().captionWidth, marked);
    model.SetCaption(L"R&&D");
    const int doubled = model.Placed().captionWidth;
    model.SetCaption(L"R&D");
    EXPECT_GT(doubled, model.Placed().captionWidth);

    // A wide caption wraps and stays centred.
    model.SetCaption(L"Startup");
    const int line = model.Placed().captionHeight;
    model.SetCaption(L"Startup Folder Startup Folder");
    const RECT& caption = model.Placed().caption;
    EXPECT_GE(model.Placed().captionHeight, 2 * line);
    EXPECT_GE(caption.left, 1);
    EXPECT_LE(caption.right, 68);
    const int margins = caption.left - (70 - caption.right);
    EXPECT_TRUE(margins == 0 || margins == 1) << caption.left << " " << caption.right;
}

} // namespace
