#include "controls/tintButton/TintButton.h"

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

} // namespace

void TintButton::Redraw(std::uint8_t state, bool force)
{
    if (prop.CheckBoxBehaviour && prop.Value)
        state = StateDown;
    if (!force && prop.Caption == lastCaption && state == lastState)
        return;
    if (ctlHeight == 0 || !drawEnabled || !surfaceDC)
        return;
    lastState = state;
    lastCaption = prop.Caption;

    // Under the custom scheme the pointer-over face stands in for BackColor for this one
    // drawing, so that every edge follows it; the field goes back on every path below.
    const bool hoverSwap = isOver && prop.ColorScheme == SchemeCustom;
    const Color restingBack = prop.BackColor;
    if (hoverSwap) {
        prop.BackColor = prop.BackOver;
        ComputeColors();
    }

    // Captions are drawn over the face, never on a box of their own.
    SetBkMode(surfaceDC.get(), TRANSPARENT);
    DrawBox(0, 0, ctlWidth, ctlHeight, colors.FaceColor, false);
    if (!prop.Enabled) {
        DrawStyle(Look::Disabled);
        DrawPicture(2);
    } else if (state == StateUp) {
        DrawStyle(Look::Up);
        DrawPicture(0);
    } else if (state == StateDown) {
        DrawStyle(Look::Down);
        DrawPicture(1);
    }

    if (hoverSwap) {
        prop.BackColor = restingBack;
        ComputeColors();
    }
    InvalidateRect(window, nullptr, FALSE);
}

void TintButton::DrawStyle(Look look)
{
    switch (prop.ButtonType) {
    case TypeFramed:
        DrawFramed(look);
        break;
    case TypeStandard:
        DrawStandard(look);
        break;
    case TypeGradient:
        DrawGradientStyle(look);
        break;
    case TypeRoundedBevel:
        DrawRoundedBevel(look);
        break;
    case TypeOutlined:
        DrawOutlined(look);
        break;
    case TypeLightBevel:
        DrawLightBevel(look);
        break;
    case TypeThinRaised:
        DrawThin(look, false);
        break;
    case TypeHotThin:
        DrawThin(look, true);
        break;
    case TypeHotFlat:
        DrawHotFlat(look);
        break;
    case TypeTransparent:
        DrawTransparent(look);
        break;
    case TypeHotRaised:
        DrawHotRaised(look);
        break;
    case TypeOval:
        DrawOvalStyle(look);
        break;
    case TypeShaded:
        DrawShaded(look);
        break;
    default:
        // TypePlain and values outside the styles: the face alone.
        break;
    }
}

void TintButton::DrawHotFlat(Look look)
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    switch (look) {
    case Look::Up:
        if (isOver)
            DrawBox(1, 1, w, h, colors.SelectLightColor, false);
        DrawCaptionUp();
        if (isOver)
            DrawBox(0, 0, w, h, colors.SelectColor, true);
        DrawFocus();
        break;
    case Look::Down:
        if (isOver) {
            const Color pressed = prop.ColorScheme == SchemeCustom ? ShiftColor(colors.SelectLightColor, -32)
                                                                    : Lighten(colors.SelectColor, 128);
            DrawBox(0, 0, w, h, pressed, false);
        }
        DrawCaption(2);
        DrawBox(0, 0, w, h, colors.SelectColor, true);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawCaption(4);
        break;
    }
}

void TintButton::DrawGradientRing(const std::array<Color, 6>& c)
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    DrawBox(1, 2, w - 2, h - 4, c[0], true);
    DrawLine(2, h - 2, w - 2, h - 2, c[1]);
    DrawLine(2, 1, w - 2, 1, c[2]);
    DrawLine(1, 2, w - 1, 2, c[3]);
    DrawLine(2, 3, 2, h - 3, c[4]);
    DrawLine(w - 3, 3, w - 3, h - 3, c[5]);
}

void TintButton::DrawGradientStyle(Look look)
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    const Color light = colors.FaceLightColor;
    auto shift = [this](Color c, int delta) { return ShiftColor(c, delta, true); };
    switch (look) {
    case Look::Up:
        DrawGradient(light, kGradientDepth, true, false);
        DrawCaptionUp();
        DrawBox(0, 0, w, h, kGradientBorder, true);
        DrawCorners(kGradientCorner);
        if (isOver) {
            DrawGradientRing(kGradientHoverRing);
        } else if ((hasFocus || site->DisplayAsDefault()) && prop.ShowFocusRect) {
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
void TintButton::DrawShadedFrame()
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    DrawBox(0, 0, w, h, ShiftColor(colors.ShadowColor, -50), true);
    DrawBox(1, 1, w - 2, h - 2, ShiftColor(colors.FaceColor, -9), true);
    DrawBox(2, 2, w - 4, 2, colors.HighlightColor, false);
    DrawBox(2, 4, 2, h - 6, colors.HighlightColor, false);
}

// The default button's caption is bold for this drawing only. Drawing stays off while the
// font changes so that the font's own redraw does not start inside this one, and what was
// changed is put back whatever the holder answers in between.
void TintButton::DrawBoldDefaultCaption()
{
    if (!site->DisplayAsDefault()) {
        DrawCaptionUp();
        return;
    }
    const bool wasBold = font.bold;
    drawEnabled = false;
    SetFontBold(true);
    DrawCaptionUp();
    SetFontBold(wasBold);
    drawEnabled = true;
}

void TintButton::DrawShaded(Look look)
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    switch (look) {
    case Look::Up:
        if (isOver)
            DrawBox(0, 0, w, h, colors.LightColor, false);
        else
            DrawGradient(colors.HighlightColor, kShadedDepth, false, false);
        DrawBoldDefaultCaption();
        DrawShadedFrame();
        DrawFocus();
        break;
    case Look::Down:
        DrawBox(1, 1, w, h, ShiftColor(colors.FaceColor, -9), false);
        DrawBox(0, 0, w, h, ShiftColor(colors.ShadowColor, -48), true);
        DrawLine(2, h - 2, w - 2, h - 2, colors.HighlightColor);
        DrawLine(w - 2, 2, w - 2, h - 1, colors.HighlightColor);
        DrawCaption(7);
        DrawFocus();
        break;
    case Look::Disabled:
        DrawGradient(colors.HighlightColor, kShadedDepth, false, false);
        DrawShadedFrame();
        DrawCaption(6);
        break;
    }
}

} // namespace qm
