#include "controls/tintButton/TintButtonDrawing.h"

namespace qm {

namespace {

// Centred lines, broken between words; "&" marks the access key and "&&" shows one.
constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

RECT Offset(const RECT& rect, int dx, int dy)
{
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

} // namespace

void TintButtonPainter::Drawing::DrawCaptionText(const RECT& rect)
{
    RECT r = rect;
    DrawTextW(dc_, model_.Caption().c_str(), static_cast<int>(model_.Caption().size()), &r, kCaptionFlags);
}

void TintButtonPainter::Drawing::DrawCaption(std::uint8_t look)
{
    memory_.captionLook = look;
    const WorkingColors& c = colors_;
    const RECT& up = placement_->caption;
    const RECT& pressed = placement_->pressedCaption;
    switch (look) {
    case 0:
    case 1:
        DrawCaptionEffect(up);
        SetTextColor(dc_, look == 0 ? c.TextColor : c.TextOverColor);
        DrawCaptionText(up);
        break;
    case 2:
        DrawCaptionEffect(pressed);
        SetTextColor(dc_, model_.ButtonType() == TypeRoundedBevel ? c.LightColor : c.TextOverColor);
        DrawCaptionText(pressed);
        break;
    case 3:
        SetTextColor(dc_, c.HighlightColor);
        DrawCaptionText(pressed);
        SetTextColor(dc_, c.ShadowColor);
        DrawCaptionText(up);
        break;
    case 4:
        SetTextColor(dc_, c.ShadowColor);
        DrawCaptionText(up);
        break;
    case 5:
        SetTextColor(dc_, ShiftColor(c.FaceLightColor, -104, true));
        DrawCaptionText(up);
        break;
    case 6:
        SetTextColor(dc_, c.HighlightColor);
        DrawCaptionText(pressed);
        SetTextColor(dc_, c.FaceColor);
        DrawCaptionText(up);
        break;
    case 7:
        SetTextColor(dc_, ShiftColor(c.ShadowColor, -50));
        DrawCaptionText(pressed);
        SetTextColor(dc_, c.HighlightColor);
        DrawCaptionText(up);
        break;
    default:
        DrawCaptionText(up);
        break;
    }
}

// Offset copies of the caption in a darker and a lighter tone of the face behind it.
void TintButtonPainter::Drawing::DrawCaptionEffect(const RECT& rect)
{
    const std::int32_t effect = model_.SpecialEffect();
    if (effect <= EffectNone)
        return;
    const std::int32_t type = model_.ButtonType();
    Color base = colors_.FaceColor;
    if (type == TypeGradient || type == TypeRoundedBevel || type == TypeShaded)
        base = colors_.FaceLightColor;
    else if (!state_.pressed && state_.over && model_.ColorScheme() != SchemeCustom && type == TypeHotFlat)
        base = colors_.SelectLightColor;
    const Color dark = ShiftColor(base, -40);
    const Color light = ShiftColor(base, 40);
    SetTextColor(dc_, effect == EffectSunken ? light : dark);
    DrawCaptionText(Offset(rect, 1, 1));
    if (effect < EffectShadow) {
        SetTextColor(dc_, effect == EffectSunken ? dark : light);
        DrawCaptionText(Offset(rect, -1, -1));
    }
}

void TintButtonPainter::Drawing::DrawPictureEffect(int offset, const PicturePtr& picture)
{
    const std::int32_t effect = model_.SpecialEffect();
    if (effect <= EffectNone)
        return;
    Color base = colors_.SelectLightColor;
    if (model_.ButtonType() == TypeGradient)
        base = colors_.FaceLightColor;
    else if (offset != -1 || model_.ColorScheme() == SchemeCustom)
        base = colors_.FaceColor;
    const Color dark = ShiftColor(base, -40);
    const Color light = ShiftColor(base, 40);
    const int x = placement_->pictureLeft;
    const int y = placement_->pictureTop;
    const int w = placement_->pictureWidth;
    const int h = placement_->pictureHeight;
    const Color m = colors_.MaskRGB;
    RenderPicture(x + 1 + offset, y + 1 + offset, w, h, picture, m,
                  static_cast<std::int32_t>(effect == EffectSunken ? light : dark), false, false, false);
    if (effect < EffectShadow)
        RenderPicture(x - 1 + offset, y - 1 + offset, w, h, picture, m,
                      static_cast<std::int32_t>(effect == EffectSunken ? dark : light), false, false, false);
}

void TintButtonPainter::Drawing::DrawPicture(std::uint8_t mode)
{
    if (!model_.PictureNormal())
        return;
    const PicturePtr& normal = model_.PictureNormal();
    const PicturePtr& over = model_.PictureOver();
    const std::int32_t type = model_.ButtonType();
    const int x = placement_->pictureLeft;
    const int y = placement_->pictureTop;
    const int w = placement_->pictureWidth;
    const int h = placement_->pictureHeight;
    const Color m = colors_.MaskRGB;
    auto render = [&](int px, int py, const PicturePtr& picture, Color color, bool darkOnly, bool greyscale,
                      bool faded) {
        RenderPicture(px, py, w, h, picture, m, static_cast<std::int32_t>(color), darkOnly, greyscale, faded);
    };
    auto plain = [&](int px, int py, const PicturePtr& picture) {
        RenderPicture(px, py, w, h, picture, m, kNoColor, false, false, false);
    };
    switch (mode) {
    case 0:
        if (!state_.over) {
            DrawPictureEffect(0, normal);
            RenderPicture(x, y, w, h, normal, m, kNoColor, false, model_.UseGreyscale(), type == TypeHotFlat);
        } else if (type == TypeHotFlat) {
            // Lifted up-left over its own shadow.
            DrawPictureEffect(-1, normal);
            render(x + 1, y + 1, normal, colors_.ShadowColor, false, false, false);
            plain(x - 1, y - 1, normal);
        } else if (over) {
            DrawPictureEffect(0, over);
            plain(x, y, over);
        } else {
            DrawPictureEffect(0, normal);
            plain(x, y, normal);
        }
        break;
    case 1:
        if (over && type != TypeHotFlat) {
            const int shift = type == TypeOutlined ? 0 : 1;
            plain(x + shift, y + shift, over);
        } else if (type == TypeOutlined || type == TypeHotFlat) {
            DrawPictureEffect(0, normal);
            plain(x, y, normal);
        } else {
            DrawPictureEffect(1, normal);
            plain(x + 1, y + 1, normal);
        }
        break;
    case 2:
        if (type == TypeGradient) {
            RenderPicture(x + 1, y + 1, w, h, normal, m, kNoColor, false, true, false);
        } else if (type == TypeOutlined || type == TypeLightBevel || type == TypeHotFlat) {
            const Color shadow = type == TypeHotFlat ? ShiftColor(colors_.ShadowColor, 13) : colors_.ShadowColor;
            render(x, y, normal, shadow, true, false, false);
        } else {
            render(x + 1, y + 1, normal, colors_.HighlightColor, true, false, false);
            render(x, y, normal, colors_.ShadowColor, true, false, false);
        }
        break;
    default:
        break;
    }
    if (model_.PicturePosition() == PictureBehind)
        DrawCaption(memory_.captionLook);
}

} // namespace qm
