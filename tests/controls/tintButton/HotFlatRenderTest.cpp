#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

constexpr COLORREF kFace = 0xD8EAE6;
constexpr COLORREF kHoverFace = 0xFFC0C0;
constexpr COLORREF kHoverFrame = 0x7F4040;   // ShiftColor(0xFFC0C0, -128)
constexpr COLORREF kHoverPressed = 0xDFA0A0; // ShiftColor(0xFFC0C0, -32)
constexpr COLORREF kRestFrame = 0x586A66;    // ShiftColor(0xD8EAE6, -128)

// A button as the program's windows have them, 123 x 25 pixels.
std::unique_ptr<qm::TintButton> ProgramButton(const tinttest::HostWindow& host)
{
    auto button = tinttest::NewButton(host, 123, 25);
    button->SetButtonType(qm::TypeHotFlat);
    button->SetColorScheme(qm::SchemeCustom);
    button->SetBackColor(kFace);
    button->SetBackOver(kHoverFace);
    button->SetForeColor(0);
    button->SetForeOver(0xFFFFFF);
    button->SetShowFocusRect(false);
    button->SetFontBold(true);
    button->SetCaption(L"&Backups");
    return button;
}

// The first pixel that is not the edge color on the outermost ring, or not the inside
// color within it and clear of the caption; "none" when there is none.
std::string Mismatch(const qm::TintButton& button, COLORREF edge, COLORREF inside)
{
    const tinttest::SurfacePixels px(button.Surface());
    RECT text = button.Layout().captionRect;
    InflateRect(&text, 1, 1);
    for (int y = 0; y < px.Height(); ++y)
        for (int x = 0; x < px.Width(); ++x) {
            const bool onEdge = x == 0 || y == 0 || x == px.Width() - 1 || y == px.Height() - 1;
            const POINT p{x, y};
            if (!onEdge && PtInRect(&text, p))
                continue;
            if (px.At(x, y) != (onEdge ? edge : inside)) {
                std::ostringstream out;
                out << "(" << x << ", " << y << ") is " << std::hex << px.At(x, y);
                return out.str();
            }
        }
    return "none";
}

TEST(TintButtonHotFlat, ProgramButtonAtRestUnderThePointerAndPressed)
{
    tinttest::HostWindow host;
    auto button = ProgramButton(host);
    button->Redraw(qm::StateUp, true);
    EXPECT_EQ(Mismatch(*button, kFace, kFace), "none") << "at rest";

    qm::TintButtonProbe::SetOver(*button, true);
    button->Redraw(qm::StateUp, true);
    EXPECT_EQ(Mismatch(*button, kHoverFrame, kHoverFace), "none") << "under the pointer";
    button->Redraw(qm::StateDown, true);
    EXPECT_EQ(Mismatch(*button, kHoverFrame, kHoverPressed), "none") << "pressed under the pointer";

    qm::TintButtonProbe::SetOver(*button, false);
    button->Redraw(qm::StateDown, true);
    EXPECT_EQ(Mismatch(*button, kRestFrame, kFace), "none") << "pressed without the pointer";
}

TEST(TintButtonHotFlat, HoverColorsLastOneDrawingOnEveryPath)
{
    tinttest::HostWindow host;
    auto button = ProgramButton(host);
    qm::TintButtonProbe::SetOver(*button, true);
    // State 1 is no look of its own: the face alone, and the colours go back all the same.
    for (const std::uint8_t state : {qm::StateUp, qm::StateDown, std::uint8_t{1}}) {
        button->Redraw(state, true);
        EXPECT_EQ(button->BackColor(), kFace) << int{state};
        EXPECT_EQ(button->Colors().FaceColor, kFace) << int{state};
        EXPECT_EQ(button->Colors().SelectColor, kRestFrame) << int{state};
    }
    EXPECT_EQ(tinttest::SurfacePixels(button->Surface()).At(0, 0), kHoverFace);
}

} // namespace
