#include "controls/tintButton/TintButtonColors.h"

#include <algorithm>

namespace qm {

namespace {

constexpr int kColorHighlight = 13;
constexpr int kColorBtnShadow = 16;
constexpr int kColorBtnHighlight = 20;
constexpr int kColorDarkShadow = 21;
constexpr int kColor3dLight = 22;
constexpr int kSelectLightAmount = 176;

int Channel(Color color, int shift)
{
    return static_cast<int>((color >> shift) & 0xFF);
}

Color Assemble(int red, int green, int blue)
{
    return static_cast<Color>(red) + static_cast<Color>(green) * 256 + static_cast<Color>(blue) * 65536;
}

void DeriveEdges(Color face, bool soft, WorkingColors& out)
{
    out.ShadowColor = ShiftColor(face, -64, false, soft);
    out.LightColor = ShiftColor(face, 31, false, soft);
    out.HighlightColor = ShiftColor(face, 47, false, soft);
    out.DarkShadowColor = ShiftColor(face, -192, false, soft);
}

} // namespace

Color ShiftColor(Color color, int delta, bool proportionalBlue, bool softBevel)
{
    if (softBevel)
        delta /= 2;
    int red = Channel(color, 0) + delta;
    int green = Channel(color, 8) + delta;
    int blue = Channel(color, 16);
    blue += proportionalBlue ? blue * delta / 192 : delta;
    auto clamp = [delta](int c) {
        if (delta > 0)
            return std::min(c, 255);
        if (delta < 0)
            return std::max(c, 0);
        return c;
    };
    return Assemble(clamp(red), clamp(green), clamp(blue));
}

Color Lighten(Color color, int amount)
{
    auto blend = [amount](int c) { return std::clamp((255 - amount) * c / 255 + amount, 0, 255); };
    return Assemble(blend(Channel(color, 0)), blend(Channel(color, 8)), blend(Channel(color, 16)));
}

void ComputeColorSet(const ColorInputs& in, const ColorSource& source, WorkingColors& out)
{
    const bool soft = in.softBevel;
    switch (in.colorScheme) {
    case SchemeCustom:
        out.FaceColor = source.Translate(in.backColor);
        out.FaceOverColor = source.Translate(in.backOver);
        out.TextColor = source.Translate(in.foreColor);
        out.TextOverColor = source.Translate(in.foreOver);
        DeriveEdges(out.FaceColor, soft, out);
        out.SelectColor = ShiftColor(out.FaceColor, -128, false, soft);
        out.SelectLightColor = out.FaceColor;
        break;
    case SchemeClassic:
        out.FaceColor = 0xC0C0C0;
        out.FaceOverColor = 0xC0C0C0;
        out.TextColor = 0x000000;
        out.TextOverColor = 0x000000;
        out.ShadowColor = 0x808080;
        out.LightColor = 0xDFDFDF;
        out.HighlightColor = 0xFFFFFF;
        out.DarkShadowColor = 0x000000;
        out.SelectColor = 0x800000;
        out.SelectLightColor = 0xD1ADAD;
        break;
    case SchemeContainer:
        source.Container(out.FaceColor, out.TextColor);
        out.FaceOverColor = out.FaceColor;
        out.TextOverColor = out.TextColor;
        DeriveEdges(out.FaceColor, soft, out);
        out.SelectColor = source.System(kColorHighlight);
        out.SelectLightColor = Lighten(out.SelectColor, kSelectLightAmount);
        break;
    default:
        out.FaceColor = source.System(kColorBtnFace);
        out.FaceOverColor = out.FaceColor;
        out.TextColor = source.System(kColorBtnText);
        out.TextOverColor = out.TextColor;
        out.ShadowColor = source.System(kColorBtnShadow);
        out.LightColor = source.System(kColor3dLight);
        out.HighlightColor = source.System(kColorBtnHighlight);
        out.DarkShadowColor = source.System(kColorDarkShadow);
        out.SelectColor = source.System(kColorHighlight);
        out.SelectLightColor = Lighten(out.SelectColor, kSelectLightAmount);
        break;
    }
    out.MaskRGB = source.Translate(in.maskColor);
    out.FaceLightColor = ShiftColor(out.FaceColor, 48, in.buttonType == 3, soft);
}

} // namespace qm
