#include "controls/tintButton/TintButtonModel.h"

#include "host/StoredLayout.h"

#include <cmath>

namespace qm {

namespace {

bool IsBlank(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

RECT Offset(const RECT& rect, int dx, int dy)
{
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

// A picture reports its size in HIMETRIC, whole units at the screen's resolution, and the
// button measures in pixels; the trip back rounds half to even.
int PicturePixels(int pixels, UINT dpi)
{
    const int himetric = MulDiv(pixels, kHimetricPerInch, static_cast<int>(dpi));
    return static_cast<int>(std::nearbyint(static_cast<double>(himetric) * dpi / kHimetricPerInch));
}

} // namespace

void TintButtonModel::MeasurePicture()
{
    if (!values_.pictureNormal) {
        placement_.pictureWidth = 0;
        placement_.pictureHeight = 0;
        return;
    }
    const UINT dpi = TheView().Dpi();
    const Picture& picture = *values_.pictureNormal;
    if (picture.ScalesWithDpi()) {
        placement_.pictureWidth = MulDiv(picture.Width(), static_cast<int>(dpi), kBaseDpi);
        placement_.pictureHeight = MulDiv(picture.Height(), static_cast<int>(dpi), kBaseDpi);
        return;
    }
    placement_.pictureWidth = PicturePixels(picture.Width(), dpi);
    placement_.pictureHeight = PicturePixels(picture.Height(), dpi);
}

void TintButtonModel::Place()
{
    placement_ = PlacedWith([this](std::wstring_view caption, RECT& rect) { TheView().MeasureCaption(caption, rect); });
}

// Starts from the last placement: a position outside 0..4 keeps the last work rectangle and
// picture position, and a button without pictures its last picture position.
TintButtonModel::Placement TintButtonModel::PlacedWith(const CaptionMeasure& measure) const
{
    const int w = width_;
    const int h = height_;
    Placement placed = placement_;
    const int pw = placed.pictureWidth;
    const int ph = placed.pictureHeight;
    const std::int32_t position = values_.picturePosition;
    // The pressed caption's rectangle is the work rectangle while placing.
    RECT& work = placed.pressedCaption;
    switch (position) {
    case PictureLeft:
        work = RECT{pw + 1, 1, w - 2, h - 2};
        break;
    case PictureRight:
        work = RECT{1, 1, w - 2 - pw, h - 2};
        break;
    case PictureTop:
        work = RECT{1, ph + 1, w - 2, h - 2};
        break;
    case PictureBottom:
        work = RECT{1, 1, w - 2, h - 2 - ph};
        break;
    case PictureBehind:
        work = RECT{1, 1, w - 2, h - 2};
        break;
    default:
        break;
    }
    if (measure)
        measure(values_.caption, work);

    const RECT caption = work;
    placed.captionWidth = caption.right - caption.left;
    placed.captionHeight = caption.bottom - caption.top;
    int dx = 0;
    int dy = 0;
    switch (position) {
    case PictureLeft:
    case PictureTop:
    case PictureBehind:
        dx = (w - caption.right) / 2;
        dy = (h - caption.bottom) / 2;
        break;
    case PictureRight:
        dx = (w - caption.right - pw - 4) / 2;
        dy = (h - caption.bottom) / 2;
        break;
    case PictureBottom:
        dx = (w - caption.right) / 2;
        dy = (h - caption.bottom - ph - 4) / 2;
        break;
    default:
        break;
    }
    placed.caption = Offset(caption, dx, dy);
    placed.pressedCaption = Offset(placed.caption, 1, 1);

    if (!values_.pictureNormal && !values_.pictureOver)
        return placed;
    if (IsBlank(values_.caption) || position == PictureBehind) {
        placed.pictureLeft = (w - pw) / 2;
        placed.pictureTop = (h - ph) / 2;
        return placed;
    }
    switch (position) {
    case PictureLeft:
        placed.pictureLeft = placed.caption.left - pw - 4;
        placed.pictureTop = (h - ph) / 2;
        break;
    case PictureRight:
        placed.pictureLeft = placed.caption.right + 4;
        placed.pictureTop = (h - ph) / 2;
        break;
    case PictureTop:
        placed.pictureLeft = (w - pw) / 2;
        placed.pictureTop = placed.caption.top - ph - 2;
        break;
    case PictureBottom:
        placed.pictureLeft = (w - pw) / 2;
        placed.pictureTop = placed.caption.bottom + 2;
        break;
    default:
        break;
    }
    return placed;
}

} // namespace qm
