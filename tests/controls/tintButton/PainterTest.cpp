#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using qm::TintButtonState;

namespace {

// A button as the program's windows have them, 123 x 25 pixels, at rest, under the pointer
// and pressed: the outer ring and the face beside the caption.
TEST(TintButtonPainter, ProgramButtonInEachLook)
{
    constexpr COLORREF kFace = 0xD8EAE6, kHoverFace = 0xFFC0C0;
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 123, 25);
    qm::TintButtonModel& model = button->Model();
    model.SetButtonType(qm::TypeHotFlat);
    model.SetColorScheme(qm::SchemeCustom);
    model.SetBackColor(kFace);
    model.SetBackOver(kHoverFace);
    model.SetShowFocusRect(false);
    model.SetFontBold(true);
    model.SetCaption(L"&Backups");
    // Ring: ShiftColor of the face by -128; a pressed face under the pointer: by -32.
    const struct {
        const char* what;
        TintButtonState state;
        COLORREF ring;
        COLORREF face;
    } looks[] = {
        {"at rest", {}, kFace, kFace},
        {"under the pointer", {.over = true}, 0x7F4040, kHoverFace},
        {"pressed under the pointer", {.pressed = true, .over = true}, 0x7F4040, 0xDFA0A0},
        {"pressed without the pointer", {.pressed = true}, 0x586A66, kFace},
    };
    for (const auto& look : looks) {
        const auto px = tinttest::Paint(model, look.state);
        for (const POINT ring : {POINT{0, 12}, POINT{-1, 12}, POINT{61, 0}, POINT{61, -1}})
            EXPECT_EQ(px.At(ring.x, ring.y), look.ring) << look.what << " at " << ring.x << ", " << ring.y;
        for (const POINT face : {POINT{2, 12}, POINT{-3, 12}, POINT{61, 1}, POINT{61, -2}})
            EXPECT_EQ(px.At(face.x, face.y), look.face) << look.what << " at " << face.x << ", " << face.y;
    }
}

// Which pixels of the caption's rectangle, widened by one, are not the face color.
std::vector<bool> Ink(const tinttest::SurfacePixels& px, const RECT& r, COLORREF face)
{
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

std::unique_ptr<qm::TintButton> Classic(const tinttest::HostWindow& host, std::int32_t type, int w, int h,
                                        const wchar_t* caption)
{
    auto button = tinttest::NewButton(host, w, h);
    button->Model().SetButtonType(type);
    button->Model().SetColorScheme(qm::SchemeClassic);
    button->Model().SetCaption(caption);
    return button;
}

TEST(TintButtonPainter, OutlinedCaptionFocusFrameAndPressedCaptionInPlace)
{
    tinttest::HostWindow host;
    auto button = Classic(host, qm::TypeOutlined, 80, 24, L"Go");
    const qm::TintButtonModel& model = button->Model();
    const RECT r = model.Placed().caption;
    for (const bool pressed : {false, true}) {
        const auto px = tinttest::Paint(model, {.pressed = pressed, .focused = true});
        EXPECT_EQ(px.At(r.left - 2, r.top - 1), 0xCC9999u) << pressed;
        EXPECT_EQ(px.At(r.right + 1, r.bottom), 0xCC9999u) << pressed;
        EXPECT_NE(px.At(r.left - 3, r.top - 1), 0xCC9999u) << pressed;
    }
    // Pressed, the caption stays where it was: its ink covers the same pixels as at rest
    // (faces: up 0xC0C0C0 + 12, down the shadow 0x808080 + 16).
    const auto up = Ink(tinttest::Paint(model), r, 0xCCCCCC);
    EXPECT_EQ(Ink(tinttest::Paint(model, {.pressed = true}), r, 0x909090), up);
    EXPECT_GT(Count(up), 0u);
}

} // namespace
