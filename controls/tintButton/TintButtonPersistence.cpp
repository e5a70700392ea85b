#include "controls/tintButton/TintButton.h"

#include <limits>

namespace qm {

namespace {

constexpr Color kDefaultMask = 0xC0C0C0;

std::wstring_view K(PropertyKey key)
{
    return KeyName(key);
}

Color ReadColor(const PropertyStore& bag, PropertyKey key, Color fallback)
{
    return static_cast<Color>(bag.ReadInt(K(key), static_cast<std::int32_t>(fallback)));
}

PicturePtr ReadPicture(const PropertyStore& bag, PropertyKey key)
{
    const auto data = bag.ReadPicture(K(key));
    return data ? Picture::FromData(*data) : nullptr;
}

std::optional<PictureData> Stored(const PicturePtr& picture)
{
    return picture ? std::optional(picture->Data()) : std::nullopt;
}

} // namespace

void TintButton::InitNew()
{
    prop = Properties{};
    prop.Enabled = true;
    prop.ShowFocusRect = true;
    prop.UseMaskColor = true;
    pointerShape = 0;
    pointerPicture.reset();
    prop.Caption = site->DisplayName();
    SetWindowTextW(window, prop.Caption.c_str());
    SetAccessKey();
    font = site->AmbientFont();
    ApplyFont();
    prop.ButtonType = TypeStandard;
    prop.ColorScheme = SchemeSystem;
    ComputeColors();
    prop.BackColor = prop.BackOver = colors.FaceColor;
    prop.ForeColor = prop.ForeOver = colors.TextColor;
    prop.MaskColor = kDefaultMask;
    LayoutCaption();
}

void TintButton::ReadProperties(const PropertyStore& bag)
{
    using P = PropertyKey;
    prop.ButtonType = bag.ReadInt(K(P::BTYPE), TypeStandard);
    prop.Caption = bag.ReadText(K(P::TX), L"");
    SetWindowTextW(window, prop.Caption.c_str());
    prop.Enabled = bag.ReadBool(K(P::ENAB), true);
    if (auto stored = bag.ReadFont(K(P::FONT)); stored && IsValidFontSize(stored->size)) {
        font = std::move(*stored);
        ApplyFont();
    }
    prop.ColorScheme = bag.ReadInt(K(P::COLTYPE), SchemeSystem);
    prop.ShowFocusRect = bag.ReadBool(K(P::FOCUSR), true);
    prop.BackColor = ReadColor(bag, P::BCOL, kSystemColor | kColorBtnFace);
    prop.BackOver = ReadColor(bag, P::BCOLO, prop.BackColor);
    prop.ForeColor = ReadColor(bag, P::FCOL, kSystemColor | kColorBtnText);
    prop.ForeOver = ReadColor(bag, P::FCOLO, prop.ForeColor);
    prop.MaskColor = ReadColor(bag, P::MCOL, kDefaultMask);
    // The pointer is kept in 16 bits; a stored value beyond that is damage and reads as 0.
    const std::int32_t shape = bag.ReadInt(K(P::MPTR), 0);
    const bool fits = shape >= std::numeric_limits<std::int16_t>::min() && shape <= std::numeric_limits<std::int16_t>::max();
    pointerShape = fits ? static_cast<std::int16_t>(shape) : 0;
    pointerPicture.reset();
    if (auto icon = ReadPicture(bag, P::MICON); icon && icon->GetType() == Picture::Type::Icon)
        pointerPicture = std::move(icon);
    prop.PictureNormal = ReadPicture(bag, P::PICN);
    prop.PictureOver = ReadPicture(bag, P::PICH);
    prop.UseMaskColor = bag.ReadBool(K(P::UMCOL), true);
    prop.SoftBevel = bag.ReadBool(K(P::SOFT), false);
    prop.PicturePosition = bag.ReadInt(K(P::PICPOS), PictureLeft);
    prop.UseGreyscale = bag.ReadBool(K(P::NGREY), false);
    prop.SpecialEffect = bag.ReadInt(K(P::FX), EffectNone);
    // The hand pointer overrides what "MPTR" and "MICON" said, as its setter does; loading
    // is no change of the button, so nothing is notified.
    prop.HandPointer = bag.ReadBool(K(P::HAND), false);
    ApplyHandPointer(prop.HandPointer);
    prop.CheckBoxBehaviour = bag.ReadBool(K(P::CHECK), false);
    prop.Value = bag.ReadBool(K(P::VALUE), false);

    EnableWindow(window, prop.Enabled ? TRUE : FALSE);
    MeasurePicture();
    LayoutCaption();
    SetAccessKey();
}

void TintButton::WriteProperties(PropertyStore& bag) const
{
    using P = PropertyKey;
    auto color = [&bag](P key, Color value) { bag.Write(K(key), static_cast<std::int32_t>(value)); };
    bag.Write(K(P::BTYPE), prop.ButtonType);
    bag.Write(K(P::TX), prop.Caption);
    bag.Write(K(P::ENAB), prop.Enabled);
    bag.WriteFont(K(P::FONT), font);
    bag.Write(K(P::COLTYPE), prop.ColorScheme);
    bag.Write(K(P::FOCUSR), prop.ShowFocusRect);
    color(P::BCOL, prop.BackColor);
    color(P::BCOLO, prop.BackOver);
    color(P::FCOL, prop.ForeColor);
    color(P::FCOLO, prop.ForeOver);
    color(P::MCOL, prop.MaskColor);
    bag.Write(K(P::MPTR), static_cast<std::int32_t>(pointerShape));
    bag.WritePicture(K(P::MICON), Stored(pointerPicture));
    bag.WritePicture(K(P::PICN), Stored(prop.PictureNormal));
    bag.WritePicture(K(P::PICH), Stored(prop.PictureOver));
    bag.Write(K(P::UMCOL), prop.UseMaskColor);
    bag.Write(K(P::SOFT), prop.SoftBevel);
    bag.Write(K(P::PICPOS), prop.PicturePosition);
    bag.Write(K(P::NGREY), prop.UseGreyscale);
    bag.Write(K(P::FX), prop.SpecialEffect);
    bag.Write(K(P::HAND), prop.HandPointer);
    bag.Write(K(P::CHECK), prop.CheckBoxBehaviour);
    bag.Write(K(P::VALUE), prop.Value);
}

} // namespace qm
