#include "controls/tintButton/TintButton.h"

namespace qm {

namespace {

void RemovePixels(HRGN region, int left, int top, int right, int bottom)
{
    UniqueRegion cut(CreateRectRgn(left, top, right + 1, bottom + 1));
    if (cut)
        CombineRgn(region, region, cut.get(), RGN_DIFF);
}

bool IsRectangular(std::int32_t buttonType)
{
    return buttonType != TypeOval && buttonType != TypeFramed && buttonType != TypeShaded &&
           buttonType != TypeOutlined && buttonType != TypeGradient && buttonType != TypeRoundedBevel;
}

// Nothing for the rectangular styles, which need no region.
UniqueRegion RegionFor(std::int32_t buttonType, int w, int h)
{
    if (IsRectangular(buttonType))
        return UniqueRegion();
    if (buttonType == TypeOval)
        return UniqueRegion(CreateEllipticRgn(0, 0, w, h));
    UniqueRegion region(CreateRectRgn(0, 0, w, h));
    if (!region)
        return region;
    const HRGN r = region.get();
    switch (buttonType) {
    case TypeFramed:
    case TypeShaded:
        RemovePixels(r, 0, h - 1, 0, h - 1);
        RemovePixels(r, w - 1, 0, w - 1, 0);
        RemovePixels(r, 0, 0, 0, 0);
        RemovePixels(r, w - 1, h - 1, w - 1, h - 1);
        break;
    case TypeOutlined:
        RemovePixels(r, 0, h - 1, 0, h - 1);
        RemovePixels(r, w - 1, 0, w - 1, 0);
        break;
    case TypeGradient:
    case TypeRoundedBevel:
        RemovePixels(r, 0, 0, 1, 0);
        RemovePixels(r, 0, h - 1, 1, h - 1);
        RemovePixels(r, w - 2, 0, w - 1, 0);
        RemovePixels(r, w - 2, h - 1, w - 1, h - 1);
        RemovePixels(r, 0, 1, 0, 1);
        RemovePixels(r, 0, h - 2, 0, h - 2);
        RemovePixels(r, w - 1, 1, w - 1, 1);
        RemovePixels(r, w - 1, h - 2, w - 1, h - 2);
        break;
    default:
        break;
    }
    return region;
}

} // namespace

void TintButton::Reshape()
{
    // Once handed over, the region is the window's: it frees it when the next one is set.
    UniqueRegion region = RegionFor(model_.ButtonType(), model_.Width(), model_.Height());
    if (!region) {
        if (shaped_ && SetWindowRgn(window_, nullptr, TRUE))
            shaped_ = false;
        return;
    }
    if (SetWindowRgn(window_, region.get(), TRUE)) {
        region.release();
        shaped_ = true;
    }
}

// Made once, at the size the button has then; a later enlargement leaves the extra area
// uncaptured.
void TintButton::PrepareBackground()
{
    if (background_)
        return;
    background_.emplace();
    if (!background_->Resize(model_.Width(), model_.Height()))
        background_.reset();
}

void TintButton::CaptureBackground()
{
    capturingBackground_ = true;
    const int width = model_.Width();
    const int height = model_.Height();
    const HWND parent = GetParent(window_);
    RECT placed{};
    GetWindowRect(window_, &placed);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);

    // With the button out of the way the parent paints what lies under it; the pending
    // paints run before the copy.
    SetWindowPos(window_, nullptr, 0, 0, width, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (background_) {
        WindowDC source(parent);
        if (source)
            BitBlt(background_->Dc(), 0, 0, width, height, source.get(), placed.left, placed.top, SRCCOPY);
    }
    // The holder measures in pixels, so the height goes back as it was, with no trip through
    // twips that could round it.
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    capturingBackground_ = false;
}

} // namespace qm
