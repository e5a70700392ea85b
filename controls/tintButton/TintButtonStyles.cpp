#include "controls/tintButton/TintButton.h"

namespace qm {

namespace {

constexpr Color kCaptionFocusColor = 0xCC9999;

} // namespace

void TintButton::DrawFramed(Look look)
{
    const WorkingColors& c = colors;
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
    DrawBox(0, 0, ctlWidth, ctlHeight, c.DarkShadowColor, true);
    if (look != Look::Disabled)
        DrawFocus();
}

void TintButton::DrawStandard(Look look)
{
    const WorkingColors& c = colors;
    const int w = ctlWidth;
    const int h = ctlHeight;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (prop.ShowFocusRect && site->DisplayAsDefault()) {
            DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, -1, false);
            DrawFocus();
            DrawBox(0, 0, w, h, c.DarkShadowColor, true);
        } else {
            DrawBevel(c.HighlightColor, c.DarkShadowColor, c.LightColor, c.ShadowColor, 0, false);
        }
        break;
    case Look::Down:
        DrawCaption(2);
        if (prop.ShowFocusRect && site->DisplayAsDefault()) {
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
void TintButton::DrawRoundedBevelUp()
{
    const WorkingColors& c = colors;
    const int w = ctlWidth;
    const int h = ctlHeight;
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

void TintButton::DrawRoundedBevel(Look look)
{
    const WorkingColors& c = colors;
    const int w = ctlWidth;
    const int h = ctlHeight;
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
    colors.FaceLightColor = d;
    DrawCaption(2);
    colors.FaceLightColor = ShiftColor(c.FaceColor, 48);
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

void TintButton::DrawCaptionFocusFrame()
{
    if (!hasFocus || !prop.ShowFocusRect)
        return;
    const RECT& r = layout.captionRect;
    DrawBox(r.left - 2, r.top - 1, layout.captionWidth + 4, layout.captionHeight + 2, kCaptionFocusColor, true);
}

void TintButton::DrawOutlined(Look look)
{
    const WorkingColors& c = colors;
    const int w = ctlWidth;
    const int h = ctlHeight;
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
        SetTextColor(surfaceDC.get(), c.TextOverColor);
        DrawCaptionText(layout.captionRect);
        DrawCaptionFocusFrame();
        break;
    case Look::Disabled:
        DrawCaption(4);
        DrawBox(0, 0, w, h, c.ShadowColor, true);
        break;
    }
}

void TintButton::DrawLightBevel(Look look)
{
    const Color light = ShiftColor(colors.LightColor, 8);
    const Color shadow = colors.ShadowColor;
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
void TintButton::DrawThin(Look look, bool hotOnly)
{
    const Color hi = colors.HighlightColor;
    const Color shadow = colors.ShadowColor;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (!hotOnly || isOver)
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

void TintButton::DrawTransparent(Look look)
{
    if (backDC)
        BitBlt(surfaceDC.get(), 0, 0, ctlWidth, ctlHeight, backDC.get(), 0, 0, SRCCOPY);
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

void TintButton::DrawHotRaised(Look look)
{
    const WorkingColors& c = colors;
    switch (look) {
    case Look::Up:
        DrawCaptionUp();
        if (isOver)
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

void TintButton::DrawOvalStyle(Look look)
{
    const WorkingColors& c = colors;
    switch (look) {
    case Look::Up:
        DrawOval(0, 0, ctlWidth, ctlHeight, isOver ? c.ShadowColor : c.FaceColor, c.FaceColor);
        DrawCaptionUp();
        break;
    case Look::Down:
        DrawOval(0, 0, ctlWidth, ctlHeight, c.DarkShadowColor, ShiftColor(c.FaceColor, -32));
        DrawCaption(2);
        break;
    case Look::Disabled:
        DrawCaption(3);
        break;
    }
}

} // namespace qm
