#include "controls/tintButton/TintButtonPainter.h"

#include "controls/tintButton/TintButtonDrawing.h"

#include <cmath>
#include <cstdlib>

namespace qm {

TintButtonPainter::TintButtonPainter() : memory_(std::make_unique<Memory>()) {}

TintButtonPainter::~TintButtonPainter() = default;

void TintButtonPainter::Paint(const TintButtonModel& model, const TintButtonState& state, TintButtonSurface& surface,
                              const TintButtonSurface* background)
{
    Drawing(model, state, surface, background, *memory_).Paint();
}

TintButtonPainter::Drawing::Drawing(const TintButtonModel& model, const TintButtonState& state,
                                    TintButtonSurface& surface, const TintButtonSurface* background, Memory& memory)
    : model_(model), state_(state), surface_(surface), background_(background), memory_(memory), dc_(surface.Dc()),
      width_(model.Width()), height_(model.Height()), colors_(model.DrawingColors(state.over)),
      placement_(&model.Placed())
{
}

void TintButtonPainter::Drawing::Paint()
{
    // Captions are drawn over the face, never on a box of their own.
    SetBkMode(dc_, TRANSPARENT);
    DrawBox(0, 0, width_, height_, colors_.FaceColor, false);
    if (!model_.Enabled()) {
        DrawStyle(Look::Disabled);
        DrawPicture(2);
    } else if (!state_.pressed) {
        DrawStyle(Look::Up);
        DrawPicture(0);
    } else {
        DrawStyle(Look::Down);
        DrawPicture(1);
    }
}

void TintButtonPainter::Drawing::DrawStyle(Look look)
{
    switch (model_.ButtonType()) {
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

// Right and bottom are exclusive; a frame is one pixel wide.
void TintButtonPainter::Drawing::DrawBox(int x, int y, int width, int height, Color color, bool frameOnly)
{
    UniqueBrush brush(CreateSolidBrush(color));
    if (!brush)
        return;
    const RECT rect{x, y, x + width, y + height};
    if (frameOnly)
        FrameRect(dc_, &rect, brush.get());
    else
        FillRect(dc_, &rect, brush.get());
}

void TintButtonPainter::Drawing::DrawOval(int x, int y, int width, int height, Color penColor, Color brushColor)
{
    UniqueBrush brush(CreateSolidBrush(brushColor));
    UniquePen pen(CreatePen(PS_SOLID, 2, penColor));
    if (!brush || !pen)
        return;
    SelectGuard brushSelection(dc_, brush.get());
    SelectGuard penSelection(dc_, pen.get());
    Ellipse(dc_, x, y, x + width, y + height);
}

// The end point is not painted.
void TintButtonPainter::Drawing::DrawLine(int x1, int y1, int x2, int y2, Color color)
{
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    if (!pen)
        return;
    SelectGuard selection(dc_, pen.get());
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void TintButtonPainter::Drawing::SelectBevelPen(Color color)
{
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    if (pen)
        surface_.KeepPenSelected(std::move(pen));
}

// Two rings: c1 left and top, c2 right and bottom outside; c3 left and top, c4 right and
// bottom inside. Inset -1 moves both rings one pixel in from the client edge.
void TintButtonPainter::Drawing::DrawBevel(Color c1, Color c2, Color c3, Color c4, std::int16_t inset,
                                           bool outerOnly)
{
    const int a = std::abs(inset);
    const int r = width_ - 1 + inset;
    const int b = height_ - 1 + inset;
    SelectBevelPen(c1);
    MoveToEx(dc_, a, b, nullptr);
    LineTo(dc_, a, a);
    LineTo(dc_, r, a);
    SelectBevelPen(c2);
    LineTo(dc_, r, b);
    LineTo(dc_, a - 1, b);
    MoveToEx(dc_, a + 1, b - 1, nullptr);
    if (outerOnly)
        return;
    SelectBevelPen(c3);
    LineTo(dc_, a + 1, a + 1);
    LineTo(dc_, r - 1, a + 1);
    SelectBevelPen(c4);
    LineTo(dc_, r - 1, b - 1);
    LineTo(dc_, a, b - 1);
}

void TintButtonPainter::Drawing::PlotPixel(int x, int y, Color color)
{
    SetPixelV(dc_, x, y, color);
}

void TintButtonPainter::Drawing::DrawFocus()
{
    if (!model_.ShowFocusRect() || !state_.focused)
        return;
    SetTextColor(dc_, colors_.TextColor);
    const RECT inner = model_.InnerRect();
    DrawFocusRect(dc_, &inner);
}

void TintButtonPainter::Drawing::DrawCorners(Color color)
{
    PlotPixel(1, 1, color);
    PlotPixel(1, height_ - 2, color);
    PlotPixel(width_ - 2, 1, color);
    PlotPixel(width_ - 2, height_ - 2, color);
}

// Rows 1 to H darken by K / H each, the last by K. The step is single precision and the
// product double precision, rounded half to even, so that every row lands where the style
// has always put it (H = 10, K = 25: -2, -5, -8, -10, -12, ...).
void TintButtonPainter::Drawing::DrawGradient(Color base, int k, bool proportionalBlue, bool darkestAtTop)
{
    const float step = static_cast<float>(k) / static_cast<float>(height_);
    for (int i = 1; i <= height_; ++i) {
        const auto delta = static_cast<int>(std::nearbyint(-static_cast<double>(step) * i));
        const int y = darkestAtTop ? height_ - i : i;
        DrawLine(0, y, width_, y, ShiftColor(base, delta, proportionalBlue));
    }
}

} // namespace qm
