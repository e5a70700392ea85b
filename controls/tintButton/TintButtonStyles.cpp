#include "controls/tintButton/TintButtonDrawing.h"

#include <utility>

namespace qm {

namespace {

// TypeGradient's rings, in drawing order: frame, bottom line, top line, second line, left
// and right inner lines.
constexpr std::array<Color, 6> kGradientHoverRing = {0x31B2FF, 0x0096E7, 0xCEF3FF, 0x8CDBFF, 0x6BCBFF, 0x6BCBFF};
constexpr std::array<Color, 6> kGradientFocusRing = {0xE7AE8C, 0xEF826B, 0xFFE7CE, 0xF7D7BD, 0xF0D1B5, 0xF0D1B5};
constexpr Color kGradientBorder = 0x733C00;
constexpr Color kGradientCorner = 0x7B4D10;
constexpr int kGradientDepth = 25;
constexpr int kShadedDepth = 58;

constexpr Color kCaptionFocusColor = 0xCC9999;

} // namespace

void TintButtonPainter::Drawing::DrawFramed(Look look)
{
    const WorkingColors& c = colors_;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        break;
    case Look::Down:
        DrawCaption(2);
        break;
    case Look::Disabled:
        DrawCaption(3);
        break;
    }
    if (look == Look::Down)
        DrawBevel(c.ShadowColor, c.HighlightColor, c.ShadowColor, c.HighlightColor, -1, false);
    else
        DrawBevel(c.HighlightColor, c.ShadowColor, c.HighlightColor, c.ShadowColor, -1, false);
    DrawBox(0, 0, width_, height_, c.DarkShadowColor, true);
    if (look != Look::Disabled)
        DrawFocus();
}

void TintButtonPainter::Drawing::DrawStandard(Look look)
{
    const WorkingColors& c = colors_;
    const int w = width_;
    const int h = height_;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (model_.ShowFocusRect() && state_.isDefault) {
            DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, -1, false);
            DrawFocus();
            DrawBox(0, 0, w, h, c.DarkShadowColor, true);
        } else {
            DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, 0, false);
        }
        break;
    case Look::Down:
        DrawCaption(2);
        if (model_.ShowFocusRect() && state_.isDefault) {
            DrawBox(0, 0, w, h, c.DarkShadowColor, true);
            DrawBox(1, 1, w - 2, h - 2, c.ShadowColor, true);
            DrawFocus();
        } else {
            DrawBevel(c.DarkShadowColor, c.HighlightColor, c.ShadowColor, c.LightColor, 0, false);
        }
        break;
    case Look::Disabled:
        DrawCaption(3);
        DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, 0, false);
        break;
    }
}

// Light face in a dark frame with a curved inner bevel; the disabled look differs only in
// its caption.
void TintButtonPainter::Drawing::DrawRoundedBevelUp()
{
    const WorkingColors& c = colors_;
    const int w = width_;
    const int h = height_;
    DrawBox(0, 0, w, h, c.DarkShadowColor, true);
    DrawCorners(c.DarkShadowColor);
    DrawLine(1, 2, 2, 0, c.FaceColor);
    DrawLine(3, 2, w - 3, 2, c.HighlightColor);
    DrawLine(2, 2, 2, h - 3, c.HighlightColor);
    PlotPixel(3, 3, c.HighlightColor);
    DrawLine(w - 3, 1, w - 3, h - 3, c.FaceColor);
    DrawLine(1, h - 3, w - 3, h - 3, c.FaceColor);
    PlotPixel(w - 4, h - 4, c.FaceColor);
    DrawLine(w - 2, 2, w - 2, h - 2, c.ShadowColor);
    DrawLine(2, h - 2, w - 2, h - 2, c.ShadowColor);
    PlotPixel(w - 3, h - 3, c.ShadowColor);
}

void TintButtonPainter::Drawing::DrawRoundedBevel(Look look)
{
    const WorkingColors& c = colors_;
    const int w = width_;
    const int h = height_;
    if (look != Look::Down) {
        DrawBox(1, 1, w - 2, h - 2, c.LightColor, false);
        if (look == Look::Up)
            DrawCaptionUp();
        else
            DrawCaption(3);
        DrawRoundedBevelUp();
        return;
    }
    const Color d = ShiftColor(c.ShadowColor, -16);
    const Color deep = ShiftColor(c.ShadowColor, -64);
    const Color mid = ShiftColor(c.ShadowColor, -32);
    DrawBox(1, 1, w - 2, h - 2, d, false);
    // The caption's effect takes its base from the pressed face for this one caption.
    colors_.FaceLightColor = d;
    DrawCaption(2);
    colors_.FaceLightColor = ShiftColor(c.FaceColor, 48);
    DrawBox(0, 0, w, h, c.DarkShadowColor, true);
    DrawBox(1, 1, w - 2, h - 2, deep, true);
    DrawBox(2, 2, w - 4, h - 4, mid, true);
    PlotPixel(2, 2, deep);
    PlotPixel(3, 3, mid);
    DrawCorners(c.DarkShadowColor);
    DrawLine(w - 3, 1, w - 3, h - 3, c.ShadowColor);
    DrawLine(1, h - 3, w - 2, h - 3, c.ShadowColor);
    PlotPixel(w - 4, h - 4, c.ShadowColor);
    DrawLine(w - 2, 3, w - 2, h - 2, d);
    DrawLine(3, h - 2, w - 2, h - 2, d);
    DrawLine(w - 2, h - 3, w - 4, h - 1, mid);
    PlotPixel(2, h - 2, mid);
    PlotPixel(w - 2, 2, mid);
}

void TintButtonPainter::Drawing::DrawCaptionFocusFrame()
{
    if (!state_.focused || !model_.ShowFocusRect())
        return;
    const RECT& r = placement_->caption;
    DrawBox(r.left - 2, r.top - 1, placement_->captionWidth + 4, placement_->captionHeight + 2, kCaptionFocusColor, true);
}

void TintButtonPainter::Drawing::DrawOutlined(Look look)
{
    const WorkingColors& c = colors_;
    const int w = width_;
    const int h = height_;
    const Color outline = ShiftColor(c.ShadowColor, -26);
    switch (look) {
    case Look::Up:
        DrawBox(1, 1, w - 1, h - 1, ShiftColor(c.FaceColor, 12), false);
        DrawCaptionUp();
        DrawBox(1, 1, w - 1, h - 1, c.HighlightColor, true);
        DrawBox(0, 0, w - 1, h - 1, outline, true);
        PlotPixel(1, h - 2, ShiftColor(c.ShadowColor, 26));
        PlotPixel(w - 2, 1, ShiftColor(c.ShadowColor, 26));
        DrawCaptionFocusFrame();
        break;
    case Look::Down:
        DrawBox(1, 1, w - 2, h - 2, ShiftColor(c.ShadowColor, 16), false);
        DrawBox(0, 0, w - 1, h - 1, outline, true);
        DrawLine(w - 1, 1, w - 1, h, c.HighlightColor);
        DrawLine(1, h - 1, w - 1, h - 1, c.HighlightColor);
        // The pressed caption stays in place, without effect, and is no caption look.
        SetTextColor(dc_, c.TextOverColor);
        DrawCaptionText(placement_->caption);
        DrawCaptionFocusFrame();
        break;
    case Look::Disabled:
        DrawCaption(4);
        DrawBox(0, 0, w, h, c.ShadowColor, true);
        break;
    }
}

void TintButtonPainter::Drawing::DrawLightBevel(Look look)
{
    const Color light = ShiftColor(colors_.LightColor, 8);
    const Color shadow = colors_.ShadowColor;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        DrawBevel(light, shadow, light, shadow, 0, false);
        DrawFocus();
        break;
    case Look::Down:
        DrawCaption(2);
        DrawBevel(shadow, light, shadow, light, 0, false);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(4);
        DrawBevel(light, shadow, light, shadow, 0, false);
        break;
    }
}

// TypeThinRaised, and TypeHotThin whose raised edge shows only under the pointer.
void TintButtonPainter::Drawing::DrawThin(Look look, bool hotOnly)
{
    const Color hi = colors_.HighlightColor;
    const Color shadow = colors_.ShadowColor;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (!hotOnly || state_.over)
            DrawBevel(hi, shadow, 0, 0, 0, true);
        DrawFocus();
        break;
    case Look::Down:
        DrawCaption(2);
        DrawBevel(shadow, hi, 0, 0, 0, true);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(3);
        if (!hotOnly)
            DrawBevel(hi, shadow, 0, 0, 0, true);
        break;
    }
}

void TintButtonPainter::Drawing::DrawTransparent(Look look)
{
    if (background_)
        BitBlt(dc_, 0, 0, width_, height_, background_->Dc(), 0, 0, SRCCOPY);
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        DrawFocus();
        break;
    case Look::Down:
        DrawCaption(2);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(3);
        break;
    }
}

void TintButtonPainter::Drawing::DrawHotRaised(Look look)
{
    const WorkingColors& c = colors_;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (state_.over)
            DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, 0, false);
        DrawFocus();
        break;
    case Look::Down:
        DrawCaption(2);
        DrawBevel(c.DarkShadowColor, c.HighlightColor, c.ShadowColor, c.LightColor, 0, false);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(3);
        break;
    }
}

void TintButtonPainter::Drawing::DrawOvalStyle(Look look)
{
    const WorkingColors& c = colors_;
    switch (look) {
    case Look::Up:
        DrawOval(0, 0, width_, height_, state_.over ? c.ShadowColor : c.FaceColor, c.FaceColor);
        DrawCaptionUp();
        break;
    case Look::Down:
        DrawOval(0, 0, width_, height_, c.DarkShadowColor, ShiftColor(c.FaceColor, -32));
        DrawCaption(2);
        break;
    case Look::Disabled:
        DrawCaption(3);
        break;
    }
}

void TintButtonPainter::Drawing::DrawHotFlat(Look look)
{
    const int w = width_;
    const int h = height_;
    switch (look) {
    case Look::Up:
        if (state_.over)
            DrawBox(1, 1, w, h, colors_.SelectLightColor, false);
        DrawCaptionUp();
        if (state_.over)
            DrawBox(0, 0, w, h, colors_.SelectColor, true);
        DrawFocus();
        break;
    case Look::Down:
        if (state_.over) {
            const Color pressed = model_.ColorScheme() == SchemeCustom ? ShiftColor(colors_.SelectLightColor, -32)
                                                                    : Lighten(colors_.SelectColor, 128);
            DrawBox(0, 0, w, h, pressed, false);
        }
        DrawCaption(2);
        DrawBox(0, 0, w, h, colors_.SelectColor, true);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(4);
        break;
    }
}

void TintButtonPainter::Drawing::DrawGradientRing(const std::array<Color, 6>& c)
{
    const int w = width_;
    const int h = height_;
    DrawBox(1, 2, w - 2, h - 4, c[0], true);
    DrawLine(2, h - 2, w - 2, h - 2, c[1]);
    DrawLine(2, 1, w - 2, 1, c[2]);
    DrawLine(1, 2, w - 1, 2, c[3]);
    DrawLine(2, 3, 2, h - 3, c[4]);
    DrawLine(w - 3, 3, w - 3, h - 3, c[5]);
}

void TintButtonPainter::Drawing::DrawGradientStyle(Look look)
{
    const int w = width_;
    const int h = height_;
    const Color light = colors_.FaceLightColor;
    auto shift = [this](Color c, int delta) { return ShiftColor(c, delta, true); };
    switch (look) {
    case Look::Up:
        DrawGradient(light, kGradientDepth, true, false);
        DrawCaptionUp();
        DrawBox(0, 0, w, h, kGradientBorder, true);
        DrawCorners(kGradientCorner);
        if (state_.over) {
            DrawGradientRing(kGradientHoverRing);
        } else if ((state_.focused || state_.isDefault) && model_.ShowFocusRect()) {
            DrawGradientRing(kGradientFocusRing);
        } else {
            DrawLine(2, h - 2, w - 2, h - 2, shift(light, -48));
            DrawLine(1, h - 3, w - 2, h - 3, shift(light, -32));
            DrawLine(w - 2, 2, w - 2, h - 2, shift(light, -36));
            DrawLine(w - 3, 3, w - 3, h - 3, shift(light, -24));
            DrawLine(2, 1, w - 2, 1, shift(light, 16));
            DrawLine(1, 2, w - 2, 2, shift(light, 10));
            DrawLine(1, 2, 1, h - 2, shift(light, -5));
            DrawLine(2, 3, 2, h - 3, shift(light, -10));
        }
        break;
    case Look::Down: {
        const Color base = shift(light, -32);
        DrawGradient(base, kGradientDepth, true, true);
        DrawCaption(2);
        DrawBox(0, 0, w, h, kGradientBorder, true);
        DrawCorners(kGradientCorner);
        DrawLine(2, h - 2, w - 2, h - 2, shift(base, 16));
        DrawLine(1, h - 3, w - 2, h - 3, shift(base, 10));
        DrawLine(w - 2, 2, w - 2, h - 2, shift(base, 5));
        DrawLine(w - 3, 3, w - 3, h - 3, light);
        DrawLine(2, 1, w - 2, 1, shift(base, -32));
        DrawLine(1, 2, w - 2, 2, shift(base, -24));
        DrawLine(1, 2, 1, h - 2, shift(base, -32));
        DrawLine(2, 2, 2, h - 2, shift(base, -22));
        break;
    }
    case Look::Disabled:
        DrawBox(0, 0, w, h, shift(light, -24), false);
        DrawCaption(5);
        DrawBox(0, 0, w, h, shift(light, -84), true);
        DrawCorners(shift(light, -72));
        break;
    }
}

// The frame and the two highlight strips of TypeShaded's up and disabled looks.
void TintButtonPainter::Drawing::DrawShadedFrame()
{
    const int w = width_;
    const int h = height_;
    DrawBox(0, 0, w, h, ShiftColor(colors_.ShadowColor, -50), true);
    DrawBox(1, 1, w - 2, h - 2, ShiftColor(colors_.FaceColor, -9), true);
    DrawBox(2, 2, w - 4, 2, colors_.HighlightColor, false);
    DrawBox(2, 4, 2, h - 6, colors_.HighlightColor, false);
}

// The default button's caption is bold, placed as a bold caption goes, for this drawing only.
void TintButtonPainter::Drawing::DrawBoldDefaultCaption()
{
    FontDesc bold = model_.Font();
    bold.bold = true;
    const UniqueFont font = state_.isDefault ? CreateFontFor(bold, surface_.Dpi()) : UniqueFont();
    if (!font) {
        DrawCaptionUp();
        return;
    }
    const SelectGuard selection(dc_, font.get());
    const TintButtonModel::Placement boldPlacement =
        model_.PlacedWith([this](std::wstring_view caption, RECT& rect) { surface_.MeasureCaption(caption, rect); });
    const TintButtonModel::Placement* resting = std::exchange(placement_, &boldPlacement);
    DrawCaptionUp();
    placement_ = resting;
}

void TintButtonPainter::Drawing::DrawShaded(Look look)
{
    const int w = width_;
    const int h = height_;
    switch (look) {
    case Look::Up:
        if (state_.over)
            DrawBox(0, 0, w, h, colors_.LightColor, false);
        else
            DrawGradient(colors_.HighlightColor, kShadedDepth, false, false);
        DrawBoldDefaultCaption();
        DrawShadedFrame();
        DrawFocus();
        break;
    case Look::Down:
        DrawBox(1, 1, w, h, ShiftColor(colors_.FaceColor, -9), false);
        DrawBox(0, 0, w, h, ShiftColor(colors_.ShadowColor, -48), true);
        DrawLine(2, h - 2, w - 2, h - 2, colors_.HighlightColor);
        DrawLine(w - 2, 2, w - 2, h - 1, colors_.HighlightColor);
        DrawCaption(7);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawGradient(colors_.HighlightColor, kShadedDepth, false, false);
        DrawShadedFrame();
        DrawCaption(6);
        break;
    }
}

} // namespace qm
