#include "controls/tintButton/TintButtonModel.h"

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

void TintButtonModel::InitNew()
{
    values_ = Values{};
    values_.enabled = true;
    values_.showFocusRect = true;
    values_.useMaskColor = true;
    pointerShape_ = 0;
    pointerPicture_.reset();
    values_.caption = site_.DisplayName();
    TheView().CaptionChanged();
    accessKeys_ = AccessKeyFor(values_.caption);
    font_ = site_.AmbientFont();
    TheView().FontChanged();
    values_.buttonType = TypeStandard;
    values_.colorScheme = SchemeSystem;
    ComputeColors();
    values_.backColor = values_.backOver = colors_.FaceColor;
    values_.foreColor = values_.foreOver = colors_.TextColor;
    values_.maskColor = kDefaultMask;
    Place();
}

void TintButtonModel::ReadProperties(const PropertyStore& bag)
{
    using P = PropertyKey;
    Values& v = values_;
    v.buttonType = bag.ReadInt(K(P::BTYPE), TypeStandard);
    v.caption = bag.ReadText(K(P::TX), L"");
    TheView().CaptionChanged();
    v.enabled = bag.ReadBool(K(P::ENAB), true);
    if (auto stored = bag.ReadFont(K(P::FONT)); stored && IsValidFontSize(stored->size)) {
        font_ = std::move(*stored);
        TheView().FontChanged();
    }
    v.colorScheme = bag.ReadInt(K(P::COLTYPE), SchemeSystem);
    v.showFocusRect = bag.ReadBool(K(P::FOCUSR), true);
    v.backColor = ReadColor(bag, P::BCOL, kSystemColor | kColorBtnFace);
    v.backOver = ReadColor(bag, P::BCOLO, v.backColor);
    v.foreColor = ReadColor(bag, P::FCOL, kSystemColor | kColorBtnText);
    v.foreOver = ReadColor(bag, P::FCOLO, v.foreColor);
    v.maskColor = ReadColor(bag, P::MCOL, kDefaultMask);
    // The pointer is kept in 16 bits; a stored value beyond that is damage and reads as 0.
    const std::int32_t shape = bag.ReadInt(K(P::MPTR), 0);
    pointerShape_ = shape >= std::numeric_limits<std::int16_t>::min() && shape <= std::numeric_limits<std::int16_t>::max()
                        ? static_cast<std::int16_t>(shape)
                        : 0;
    pointerPicture_.reset();
    if (auto icon = ReadPicture(bag, P::MICON); icon && icon->GetType() == Picture::Type::Icon)
        pointerPicture_ = std::move(icon);
    v.pictureNormal = ReadPicture(bag, P::PICN);
    v.pictureOver = ReadPicture(bag, P::PICH);
    v.useMaskColor = bag.ReadBool(K(P::UMCOL), true);
    v.softBevel = bag.ReadBool(K(P::SOFT), false);
    v.picturePosition = bag.ReadInt(K(P::PICPOS), PictureLeft);
    v.useGreyscale = bag.ReadBool(K(P::NGREY), false);
    v.specialEffect = bag.ReadInt(K(P::FX), EffectNone);
    // The hand pointer overrides what "MPTR" and "MICON" said, as its setter does; a hand
    // that cannot be had leaves them. Loading is no change of the button: nothing is notified.
    v.handPointer = bag.ReadBool(K(P::HAND), false);
    static_cast<void>(ApplyHandPointer(v.handPointer));
    v.checkBoxBehaviour = bag.ReadBool(K(P::CHECK), false);
    v.value = bag.ReadBool(K(P::VALUE), false);

    TheView().EnabledChanged();
    MeasurePicture();
    Place();
    accessKeys_ = AccessKeyFor(v.caption);
}

void TintButtonModel::WriteProperties(PropertyStore& bag) const
{
    using P = PropertyKey;
    const Values& v = values_;
    auto color = [&bag](P key, Color value) { bag.Write(K(key), static_cast<std::int32_t>(value)); };
    bag.Write(K(P::BTYPE), v.buttonType);
    bag.Write(K(P::TX), v.caption);
    bag.Write(K(P::ENAB), v.enabled);
    bag.WriteFont(K(P::FONT), font_);
    bag.Write(K(P::COLTYPE), v.colorScheme);
    bag.Write(K(P::FOCUSR), v.showFocusRect);
    color(P::BCOL, v.backColor);
    color(P::BCOLO, v.backOver);
    color(P::FCOL, v.foreColor);
    color(P::FCOLO, v.foreOver);
    color(P::MCOL, v.maskColor);
    bag.Write(K(P::MPTR), static_cast<std::int32_t>(pointerShape_));
    bag.WritePicture(K(P::MICON), Stored(pointerPicture_));
    bag.WritePicture(K(P::PICN), Stored(v.pictureNormal));
    bag.WritePicture(K(P::PICH), Stored(v.pictureOver));
    bag.Write(K(P::UMCOL), v.useMaskColor);
    bag.Write(K(P::SOFT), v.softBevel);
    bag.Write(K(P::PICPOS), v.picturePosition);
    bag.Write(K(P::NGREY), v.useGreyscale);
    bag.Write(K(P::FX), v.specialEffect);
    bag.Write(K(P::HAND), v.handPointer);
    bag.Write(K(P::CHECK), v.checkBoxBehaviour);
    bag.Write(K(P::VALUE), v.value);
}

} // namespace qm
