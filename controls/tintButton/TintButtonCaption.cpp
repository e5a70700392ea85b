#include "controls/tintButton/TintButton.h"

#include "host/StoredLayout.h"

#include <cmath>

namespace qm {

namespace {

// Centred lines, broken between words; "&" marks the access key and "&&" shows one.
constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

bool IsBlank(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

RECT Offset(const RECT& rect, int dx, int dy)
{
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

} // namespace

// A picture reports its size in HIMETRIC, whole units at the screen's resolution, and the
// button measures in pixels; the trip back rounds half to even.
int TintButton::PicturePixels(int pixels) const
{
    UINT dpi = window ? GetDpiForWindow(window) : 0;
    if (dpi == 0)
        dpi = kLayoutBaseDpi;
    const int himetric = MulDiv(pixels, kHimetricPerInch, static_cast<int>(dpi));
    return static_cast<int>(std::nearbyint(static_cast<double>(himetric) * dpi / kHimetricPerInch));
}

void TintButton::MeasurePicture()
{
    if (!prop.PictureNormal) {
        layout.pictureWidth = 0;
        layout.pictureHeight = 0;
        return;
    }
    layout.pictureWidth = PicturePixels(prop.PictureNormal->Width());
    layout.pictureHeight = PicturePixels(prop.PictureNormal->Height());
}

void TintButton::LayoutCaption()
{
    const int w = ctlWidth;
    const int h = ctlHeight;
    const int pw = layout.pictureWidth;
    const int ph = layout.pictureHeight;
    const std::int32_t position = prop.PicturePosition;
    RECT& work = layout.pressedCaptionRect;
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
    // Measuring keeps left and top and moves right and bottom to those of the wrapped text.
    if (surfaceDC)
        DrawTextW(surfaceDC.get(), prop.Caption.c_str(), static_cast<int>(prop.Caption.size()), &work,
                  DT_CALCRECT | DT_WORDBREAK);

    RECT caption = work;
    layout.captionWidth = caption.right - caption.left;
    layout.captionHeight = caption.bottom - caption.top;
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
    layout.captionRect = Offset(caption, dx, dy);
    layout.pressedCaptionRect = Offset(layout.captionRect, 1, 1);
    PlacePicture();
}

void TintButton::PlacePicture()
{
    if (!prop.PictureNormal && !prop.PictureOver)
        return;
    const int w = ctlWidth;
    const int h = ctlHeight;
    const int pw = layout.pictureWidth;
    const int ph = layout.pictureHeight;
    const RECT& caption = layout.captionRect;
    if (IsBlank(prop.Caption) || prop.PicturePosition == PictureBehind) {
        layout.pictureLeft = (w - pw) / 2;
        layout.pictureTop = (h - ph) / 2;
        return;
    }
    switch (prop.PicturePosition) {
    case PictureLeft:
        layout.pictureLeft = caption.left - pw - 4;
        layout.pictureTop = (h - ph) / 2;
        break;
    case PictureRight:
        layout.pictureLeft = caption.right + 4;
        layout.pictureTop = (h - ph) / 2;
        break;
    case PictureTop:
        layout.pictureLeft = (w - pw) / 2;
        layout.pictureTop = caption.top - ph - 2;
        break;
    case PictureBottom:
        layout.pictureLeft = (w - pw) / 2;
        layout.pictureTop = caption.bottom + 2;
        break;
    default:
        break;
    }
}

void TintButton::DrawCaptionText(const RECT& rect)
{
    RECT r = rect;
    DrawTextW(surfaceDC.get(), prop.Caption.c_str(), static_cast<int>(prop.Caption.size()), &r, kCaptionFlags);
}

void TintButton::DrawCaption(std::uint8_t look)
{
    lastLook = look;
    const HDC dc = surfaceDC.get();
    const WorkingColors& c = colors;
    const RECT& up = layout.captionRect;
    const RECT& pressed = layout.pressedCaptionRect;
    switch (look) {
    case 0:
    case 1:
        DrawCaptionEffect(up);
        SetTextColor(dc, look == 0 ? c.TextColor : c.TextOverColor);
        DrawCaptionText(up);
        break;
    case 2:
        DrawCaptionEffect(pressed);
        SetTextColor(dc, prop.ButtonType == TypeRoundedBevel ? c.LightColor : c.TextOverColor);
        DrawCaptionText(pressed);
        break;
    case 3:
        SetTextColor(dc, c.HighlightColor);
        DrawCaptionText(pressed);
        SetTextColor(dc, c.ShadowColor);
        DrawCaptionText(up);
        break;
    case 4:
        SetTextColor(dc, c.ShadowColor);
        DrawCaptionText(up);
        break;
    case 5:
        SetTextColor(dc, ShiftColor(c.FaceLightColor, -104, true));
        DrawCaptionText(up);
        break;
    case 6:
        SetTextColor(dc, c.HighlightColor);
        DrawCaptionText(pressed);
        SetTextColor(dc, c.FaceColor);
        DrawCaptionText(up);
        break;
    case 7:
        SetTextColor(dc, ShiftColor(c.ShadowColor, -50));
        DrawCaptionText(pressed);
        SetTextColor(dc, c.HighlightColor);
        DrawCaptionText(up);
        break;
    default:
        DrawCaptionText(up);
        break;
    }
}

// Offset copies of the caption in a darker and a lighter tone of the face behind it.
void TintButton::DrawCaptionEffect(const RECT& rect)
{
    const std::int32_t effect = prop.SpecialEffect;
    if (effect <= EffectNone)
        return;
    const std::int32_t type = prop.ButtonType;
    Color base = colors.FaceColor;
    if (type == TypeGradient || type == TypeRoundedBevel || type == TypeShaded)
        base = colors.FaceLightColor;
    else if (lastState == StateUp && isOver && prop.ColorScheme != SchemeCustom && type == TypeHotFlat)
        base = colors.SelectLightColor;
    const HDC dc = surfaceDC.get();
    const Color dark = ShiftColor(base, -40);
    const Color light = ShiftColor(base, 40);
    SetTextColor(dc, effect == EffectSunken ? light : dark);
    DrawCaptionText(Offset(rect, 1, 1));
    if (effect < EffectShadow) {
        SetTextColor(dc, effect == EffectSunken ? dark : light);
        DrawCaptionText(Offset(rect, -1, -1));
    }
}

} // namespace qm
