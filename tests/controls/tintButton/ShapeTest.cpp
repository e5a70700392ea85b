#include "ButtonHarness.h"

#include "host/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Probe {
    int x;
    int y;
};

// Corners with their neighbours, the middle of each edge and the centre of a 20 x 10 window.
constexpr Probe kProbes[] = {
    {0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2},      // top left
    {19, 0}, {18, 0}, {19, 1},                   // top right
    {0, 9}, {1, 9}, {0, 8},                      // bottom left
    {19, 9}, {18, 9}, {19, 8},                   // bottom right
    {10, 0}, {0, 5}, {19, 5}, {10, 9}, {10, 5},  // edges and centre
};

std::string Inside(const qm::TintButton& button, const std::string& expected)
{
    qm::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(button.hwnd(), region.get()) == ERROR)
        return "no region";
    std::string inside;
    for (std::size_t i = 0; i < std::size(kProbes); ++i) {
        const bool in = PtInRegion(region.get(), kProbes[i].x, kProbes[i].y);
        inside += i < expected.size() && expected[i] == '?' ? '?' : (in ? '1' : '0');
    }
    return inside;
}

TEST(TintButtonShape, WindowRegionOfEachStyle)
{
    // One digit per probe, grouped as kProbes is; "?" where rasterisers differ (the outermost
    // rows and columns of an ellipse).
    const std::string whole = "11111 111 111 111 11111";
    const std::string fourCorners = "01111 011 011 011 11111";
    const std::string rounded = "00101 000 000 000 11111";
    struct Case {
        std::int32_t type;
        std::string inside;
    } const cases[] = {
        {1, fourCorners}, {2, whole},  {3, rounded}, {4, rounded}, {5, "11111 011 011 111 11111"},
        {6, whole},       {7, whole},  {8, whole},   {9, whole},   {10, whole},
        {11, whole},      {12, whole}, {13, "00000 000 000 000 1???1"}, {14, fourCorners},
        {15, whole},      {0, whole},
    };
    tinttest::HostWindow host;
    for (const auto& c : cases) {
        auto button = tinttest::NewButton(host, 20, 10);
        button->SetButtonType(c.type);
        std::string expected = c.inside;
        std::erase(expected, ' ');
        EXPECT_EQ(Inside(*button, expected), expected) << "ButtonType " << c.type;
    }
}

TEST(TintButtonShape, InnerRectangleOfEachStyleGroup)
{
    struct Case {
        std::int32_t type;
        RECT inner;
    } const cases[] = {
        {1, {4, 4, 96, 20}},  {2, {4, 4, 96, 20}},  {6, {4, 4, 96, 20}},  {0, {4, 4, 96, 20}},
        {15, {4, 4, 96, 20}}, {7, {3, 3, 97, 21}},  {9, {3, 3, 97, 21}},  {13, {3, 3, 97, 21}},
        {14, {6, 6, 96, 20}},
    };
    tinttest::HostWindow host;
    for (const auto& c : cases) {
        auto button = tinttest::NewButton(host, 100, 24);
        button->SetButtonType(c.type);
        const RECT r = button->InnerRect();
        EXPECT_TRUE(EqualRect(&r, &c.inner)) << "ButtonType " << c.type << ": " << r.left << "," << r.top << "-"
                                             << r.right << "," << r.bottom;
    }
}

TEST(TintButtonShape, ResizeFollowsTheWindowAndKeepsTheStyle)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 20, 10);
    button->SetButtonType(1);
    SetWindowPos(button->hwnd(), nullptr, 0, 0, 60, 30, SWP_NOMOVE | SWP_NOZORDER);
    qm::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(button->hwnd(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 59, 29));
    EXPECT_TRUE(PtInRegion(region.get(), 58, 29));
    const RECT expected{4, 4, 56, 26};
    EXPECT_TRUE(EqualRect(&button->InnerRect(), &expected));
}

TEST(TintButtonShape, TransparentStyleCapturesTheParentWithoutResizing)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 100, 24);
    button->SetButtonType(13);
    button->SetButtonType(11);
    const RECT innerBefore = button->InnerRect();
    qm::UniqueRegion before(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(button->hwnd(), before.get());

    button->CaptureBackground();

    RECT client{};
    GetClientRect(button->hwnd(), &client);
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 24);
    EXPECT_TRUE(EqualRect(&button->InnerRect(), &innerBefore));
    qm::UniqueRegion after(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(button->hwnd(), after.get());
    EXPECT_TRUE(EqualRgn(before.get(), after.get()));

    ASSERT_NE(button->BackgroundSurface(), nullptr);
    EXPECT_EQ(GetPixel(button->BackgroundSurface(), 50, 12), tinttest::HostWindow::kBackground);
}

} // namespace
