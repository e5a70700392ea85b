#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr COLORREF kMark = 0x123456;
constexpr COLORREF kFace = 0xC0C0C0;
constexpr COLORREF kSelect = 0x800000; // the classic frame of a pressed TypeHotFlat

std::unique_ptr<qm::TintButton> Classic(const tinttest::HostWindow& host, std::int32_t type, int w, int h,
                                        const wchar_t* caption, qm::ControlSite* site = nullptr)
{
    auto button = tinttest::NewButton(host, w, h, site);
    button->SetButtonType(type);
    button->SetColorScheme(qm::SchemeClassic);
    button->SetCaption(caption);
    return button;
}

// The corner pixel after marking it and drawing.
COLORREF CornerAfter(qm::TintButton& button, std::uint8_t state, bool force)
{
    SetPixelV(button.Surface(), 0, 0, kMark);
    button.Redraw(state, force);
    return tinttest::SurfacePixels(button.Surface()).At(0, 0);
}

TEST(TintButtonRedraw, WhenADrawingHappensAndWhichLookItHas)
{
    tinttest::HostWindow host;
    auto button = Classic(host, qm::TypeHotFlat, 60, 20, L"");
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, false), kMark) << "unchanged";
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, true), kFace) << "forced";
    EXPECT_EQ(CornerAfter(*button, qm::StateDown, false), kSelect) << "a new state";

    button->SetCheckBoxBehaviour(true);
    button->SetValue(true);
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, true), kSelect) << "checked draws down";
    button->SetEnabled(false);
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, true), kFace) << "disabled wins over checked";
    button->SetEnabled(true);

    SetWindowPos(button->hwnd(), nullptr, 0, 0, 60, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, true), kMark) << "height 0";
    SetWindowPos(button->hwnd(), nullptr, 0, 0, 60, 20, SWP_NOMOVE | SWP_NOZORDER);
    button->DisableRefresh();
    EXPECT_EQ(CornerAfter(*button, qm::StateUp, true), kMark) << "drawing off";
}

// Which pixels of the caption's rectangle, widened by one, are not the face color.
std::vector<bool> Ink(const qm::TintButton& button, COLORREF face)
{
    const tinttest::SurfacePixels px(button.Surface());
    const RECT& r = button.Layout().captionRect;
    std::vector<bool> ink;
    for (int y = r.top - 1; y <= r.bottom; ++y)
        for (int x = r.left - 1; x <= r.right; ++x)
            ink.push_back(px.At(x, y) != face);
    return ink;
}

std::size_t Count(const std::vector<bool>& ink)
{
    return static_cast<std::size_t>(std::count(ink.begin(), ink.end(), true));
}

TEST(TintButtonRedraw, ShadedDefaultButtonHasABoldCaptionForTheDrawingOnly)
{
    tinttest::HostWindow host;
    tinttest::DefaultSite site;
    auto button = Classic(host, qm::TypeShaded, 120, 24, L"Startup Folder", &site);
    // Under the pointer the face is flat (LightColor), so what differs from it is ink.
    qm::TintButtonProbe::SetOver(*button, true);
    button->Redraw(qm::StateUp, true);
    const std::size_t normal = Count(Ink(*button, 0xDFDFDF));
    site.isDefault = true;
    button->Redraw(qm::StateUp, true);
    EXPECT_GT(Count(Ink(*button, 0xDFDFDF)), normal);
    EXPECT_FALSE(button->FontBold());

    // A holder whose answer changes between the two questions gets its font back and a
    // button that goes on drawing.
    site.flip = true;
    button->Redraw(qm::StateUp, true);
    site.flip = false;
    EXPECT_FALSE(button->FontBold());
    EXPECT_NE(CornerAfter(*button, qm::StateUp, true), kMark);
}

TEST(TintButtonRedraw, OutlinedCaptionFocusFrameAndPressedCaption)
{
    tinttest::HostWindow host;
    auto button = Classic(host, qm::TypeOutlined, 80, 24, L"Go");
    qm::TintButtonProbe::SetFocus(*button, true);
    const RECT r = button->Layout().captionRect;
    for (const std::uint8_t state : {qm::StateUp, qm::StateDown}) {
        button->Redraw(state, true);
        const tinttest::SurfacePixels px(button->Surface());
        EXPECT_EQ(px.At(r.left - 2, r.top - 1), 0xCC9999u) << int{state};
        EXPECT_EQ(px.At(r.right + 1, r.bottom), 0xCC9999u) << int{state};
        EXPECT_NE(px.At(r.left - 3, r.top - 1), 0xCC9999u) << int{state};
    }
    // Pressed, the caption stays where it was: its ink covers the same pixels as at rest
    // (faces: up 0xC0C0C0 + 12, down the shadow 0x808080 + 16).
    qm::TintButtonProbe::SetFocus(*button, false);
    button->Redraw(qm::StateUp, true);
    const auto up = Ink(*button, 0xCCCCCC);
    button->Redraw(qm::StateDown, true);
    EXPECT_EQ(Ink(*button, 0x909090), up);
    EXPECT_GT(Count(up), 0u);
}

} // namespace
