#include "controls/tintButton/TintButton.h"

namespace qm {

namespace {

void RemovePixels(HRGN region, int left, int top, int right, int bottom)
{
    UniqueRegion cut(CreateRectRgn(left, top, right + 1, bottom + 1));
    if (cut)
        CombineRgn(region, region, cut.get(), RGN_DIFF);
}

} // namespace

RECT InnerRectFor(std::int32_t buttonType, const RECT& client)
{
    RECT inner = client;
    if (buttonType >= TypeThinRaised && buttonType <= TypeOval) {
        InflateRect(&inner, -3, -3);
    } else if (buttonType == TypeShaded) {
        InflateRect(&inner, -5, -5);
        OffsetRect(&inner, 1, 1);
    } else {
        InflateRect(&inner, -4, -4);
    }
    return inner;
}

void TintButton::OnResize()
{
    // A capture takes the height to 0 and back; neither is a new size of the button.
    if (isCapturing)
        return;
    RECT client{};
    GetClientRect(window, &client);
    ctlWidth = client.right;
    ctlHeight = client.bottom;
    innerRect = InnerRectFor(prop.ButtonType, client);
    LayoutCaption();
    // Once handed over, the region is the window's: it frees it when the next one is set.
    UniqueRegion region = BuildRegion();
    if (region && SetWindowRgn(window, region.get(), TRUE))
        region.release();
    if (ctlHeight != 0)
        Redraw(StateUp, true);
}

UniqueRegion TintButton::BuildRegion() const
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    if (prop.ButtonType == TypeOval)
        return UniqueRegion(CreateEllipticRgn(0, 0, w, h));
    UniqueRegion region(CreateRectRgn(0, 0, w, h));
    if (!region)
        return region;
    const HRGN r = region.get();
    switch (prop.ButtonType) {
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

void TintButton::PrepareBackground()
{
    if (backDC)
        return;
    WindowDC own(window);
    UniqueMemoryDC dc(CreateCompatibleDC(own.get()));
    if (!dc)
        return;
    const int bits = GetDeviceCaps(own.get(), BITSPIXEL);
    UniqueBitmap bitmap(CreateBitmap(ctlWidth, ctlHeight, 1, static_cast<UINT>(bits), nullptr));
    if (!bitmap)
        return;
    backFirstBitmap = SelectObject(dc.get(), bitmap.get());
    backDC = std::move(dc);
    backBitmap = std::move(bitmap);
}

void TintButton::ReleaseBackground()
{
    if (!backDC)
        return;
    if (backFirstBitmap)
        SelectObject(backDC.get(), backFirstBitmap);
    backFirstBitmap = nullptr;
    backBitmap.reset();
    backDC.reset();
}

void TintButton::CaptureBackground()
{
    isCapturing = true;
    const HWND parent = GetParent(window);
    RECT placed{};
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);

    // With the button out of the way the parent paints what lies under it; the pending
    // paints run before the copy.
    SetWindowPos(window, nullptr, 0, 0, ctlWidth, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (backDC) {
        WindowDC source(parent);
        if (source)
            BitBlt(backDC.get(), 0, 0, ctlWidth, ctlHeight, source.get(), placed.left, placed.top, SRCCOPY);
    }
    // The holder measures in pixels, so the height goes back as it was, with no trip through
    // twips that could round it.
    SetWindowPos(window, nullptr, 0, 0, ctlWidth, ctlHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    isCapturing = false;
}

} // namespace qm
