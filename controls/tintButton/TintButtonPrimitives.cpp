#include "controls/tintButton/TintButton.h"

#include <cmath>
#include <cstdlib>

namespace qm {

// Right and bottom are exclusive; a frame is one pixel wide.
void TintButton::DrawBox(int x, int y, int width, int height, Color color, bool frameOnly)
{
    UniqueBrush brush(CreateSolidBrush(color));
    if (!brush)
        return;
    const RECT rect{x, y, x + width, y + height};
    if (frameOnly)
        FrameRect(surfaceDC.get(), &rect, brush.get());
    else
        FillRect(surfaceDC.get(), &rect, brush.get());
}

void TintButton::DrawOval(int x, int y, int width, int height, Color penColor, Color brushColor)
{
    const HDC dc = surfaceDC.get();
    UniqueBrush brush(CreateSolidBrush(brushColor));
    UniquePen pen(CreatePen(PS_SOLID, 2, penColor));
    if (!brush || !pen)
        return;
    SelectGuard brushGuard(dc, brush.get());
    SelectGuard penGuard(dc, pen.get());
    Ellipse(dc, x, y, x + width, y + height);
}

// The end point is not painted.
void TintButton::DrawLine(int x1, int y1, int x2, int y2, Color color)
{
    const HDC dc = surfaceDC.get();
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    if (!pen)
        return;
    SelectGuard guard(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void TintButton::SelectBevelPen(Color color)
{
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    if (!pen)
        return;
    SelectObject(surfaceDC.get(), pen.get());
    // The pen it replaced is out of the surface now and goes.
    bevelPen = std::move(pen);
}

// Two rings: c1 left and top, c2 right and bottom outside; c3 left and top, c4 right and
// bottom inside. Inset -1 moves both rings one pixel in from the client edge.
void TintButton::DrawBevel(Color c1, Color c2, Color c3, Color c4, std::int16_t inset, bool outerOnly)
{
    const HDC dc = surfaceDC.get();
    const int a = std::abs(inset);
    const int r = ctlWidth - 1 + inset;
    const int b = ctlHeight - 1 + inset;
    SelectBevelPen(c1);
    MoveToEx(dc, a, b, nullptr);
    LineTo(dc, a, a);
    LineTo(dc, r, a);
    SelectBevelPen(c2);
    LineTo(dc, r, b);
    LineTo(dc, a - 1, b);
    MoveToEx(dc, a + 1, b - 1, nullptr);
    if (outerOnly)
        return;
    SelectBevelPen(c3);
    LineTo(dc, a + 1, a + 1);
    LineTo(dc, r - 1, a + 1);
    SelectBevelPen(c4);
    LineTo(dc, r - 1, b - 1);
    LineTo(dc, a, b - 1);
}

void TintButton::PlotPixel(int x, int y, Color color)
{
    SetPixelV(surfaceDC.get(), x, y, color);
}

void TintButton::DrawFocus()
{
    if (!prop.ShowFocusRect || !hasFocus)
        return;
    SetTextColor(surfaceDC.get(), colors.TextColor);
    DrawFocusRect(surfaceDC.get(), &innerRect);
}

void TintButton::DrawCorners(Color color)
{
    PlotPixel(1, 1, color);
    PlotPixel(1, ctlHeight - 2, color);
    PlotPixel(ctlWidth - 2, 1, color);
    PlotPixel(ctlWidth - 2, ctlHeight - 2, color);
}

// Rows 1 to H darken by K / H each, the last by K. The step is single precision and the
// product double precision, rounded half to even, so that every row lands where the style
// has always put it (H = 10, K = 25: -2, -5, -8, -10, -12, ...).
void TintButton::DrawGradient(Color base, int k, bool proportionalBlue, bool darkestAtTop)
{
    const float step = static_cast<float>(k) / static_cast<float>(ctlHeight);
    for (int i = 1; i <= ctlHeight; ++i) {
        const auto delta = static_cast<int>(std::nearbyint(-static_cast<double>(step) * i));
        const int y = darkestAtTop ? ctlHeight - i : i;
        DrawLine(0, y, ctlWidth, y, ShiftColor(base, delta, proportionalBlue));
    }
}

} // namespace qm
