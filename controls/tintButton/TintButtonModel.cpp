#include "controls/tintButton/TintButtonModel.h"

#include "host/StoredLayout.h"
#include "host/SystemLibrary.h"

#include <olectl.h>

#include <cmath>
#include <limits>
#include <optional>

namespace qm {

namespace {

constexpr std::int16_t kPointerArrow = 1;
constexpr int kHandCursor = 32649; // IDC_HAND

// The steps a change can set off; a change runs its steps in this order.
enum Step : std::uint16_t {
    kNoticeFirst = 1 << 0,
    kFont = 1 << 1,
    kWindowText = 1 << 2,
    kWindowShape = 1 << 3,
    kColors = 1 << 4,
    kAccessKey = 1 << 5,
    kPictureSize = 1 << 6,
    kPlacement = 1 << 7,
    kRedrawAtLastState = 1 << 8,
    kRedrawUp = 1 << 9,
    kRedrawWhenOver = 1 << 10,
    kRedrawWithPicture = 1 << 11, // at the last state, if PictureNormal is set
    kRedrawUpAsCheckBox = 1 << 12, // released, if CheckBoxBehaviour is True
    kWindowEnabled = 1 << 13,
};

bool Fits16Bits(std::int32_t value)
{
    return value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max();
}

} // namespace

// What a change of a property sets off once the value is stored, and the key the site is
// told of (after the other steps, or before them with kNoticeFirst).
struct TintButtonModel::Change {
    Property property;
    std::optional<PropertyKey> notice;
    std::uint16_t steps;
};

const TintButtonModel::Change& TintButtonModel::ChangeOf(Property property)
{
    using P = PropertyKey;
    static constexpr Change kChanges[] = {
        {Property::BackColor, P::BCOL, kColors | kRedrawAtLastState},
        {Property::BackOver, P::BCOLO, kColors | kRedrawAtLastState},
        {Property::ForeColor, P::FCOL, kColors | kRedrawAtLastState},
        {Property::ForeOver, P::FCOLO, kColors | kRedrawAtLastState},
        {Property::MaskColor, P::MCOL, kColors | kRedrawAtLastState},
        {Property::ButtonType, P::BTYPE, kColors | kWindowShape | kPlacement | kRedrawUp},
        {Property::Caption, P::TX, kWindowText | kAccessKey | kPlacement | kRedrawUp},
        {Property::Enabled, P::ENAB, kRedrawUp | kWindowEnabled},
        {Property::Font, P::FONT, kFont | kPlacement | kRedrawUp},
        {Property::FontPart, std::nullopt, kFont | kPlacement | kRedrawUp},
        {Property::ColorScheme, P::COLTYPE, kColors | kRedrawUp},
        {Property::ShowFocusRect, P::FOCUSR, kRedrawAtLastState},
        {Property::MousePointer, P::MPTR, 0},
        {Property::MouseIcon, P::MICON, 0},
        {Property::HandPointer, P::HAND, 0},
        {Property::SoftBevel, P::SOFT, kColors | kRedrawAtLastState},
        {Property::PictureNormal, P::PICN, kPictureSize | kPlacement | kRedrawAtLastState},
        {Property::PictureOver, P::PICH, kRedrawWhenOver},
        {Property::PicturePosition, P::PICPOS, kNoticeFirst | kPlacement | kRedrawAtLastState},
        {Property::UseMaskColor, P::UMCOL, kRedrawWithPicture},
        {Property::UseGreyscale, P::NGREY, kRedrawWithPicture},
        {Property::SpecialEffect, P::FX, kRedrawAtLastState},
        {Property::CheckBoxBehaviour, P::CHECK, kRedrawAtLastState},
        {Property::Value, P::VALUE, kRedrawUpAsCheckBox},
    };
    static_assert(
        [] {
            for (std::size_t i = 0; i < std::size(kChanges); ++i) {
                if (static_cast<std::size_t>(kChanges[i].property) != i)
                    return false;
            }
            return true;
        }(),
        "one change per property, in the order of Property");
    return kChanges[static_cast<std::size_t>(property)];
}

UINT TintButtonModel::View::Dpi() const
{
    return kBaseDpi;
}

TintButtonModel::TintButtonModel(ControlSite& site, const ColorSource& colorSource, View* view)
    : site_(site), colorSource_(colorSource), view_(view), font_(site.AmbientFont())
{
}

TintButtonModel::View& TintButtonModel::TheView() const
{
    static View nowhere;
    return view_ ? *view_ : nowhere;
}

void TintButtonModel::Changed(Property property)
{
    const Change& change = ChangeOf(property);
    auto has = [&change](std::uint16_t step) { return (change.steps & step) != 0; };
    View& view = TheView();
    if (has(kNoticeFirst))
        Notify(*change.notice);
    if (has(kFont))
        view.FontChanged();
    if (has(kWindowText))
        view.CaptionChanged();
    if (has(kWindowShape))
        view.ButtonTypeChanged();
    if (has(kColors))
        ComputeColors();
    if (has(kAccessKey))
        accessKeys_ = AccessKeyFor(values_.caption);
    if (has(kPictureSize))
        MeasurePicture();
    if (has(kPlacement))
        Place();
    if (has(kRedrawAtLastState) || (has(kRedrawWithPicture) && values_.pictureNormal))
        view.RedrawNeeded(Redraw::AtLastState);
    if (has(kRedrawUp) || (has(kRedrawUpAsCheckBox) && values_.checkBoxBehaviour))
        view.RedrawNeeded(Redraw::Up);
    if (has(kRedrawWhenOver))
        view.RedrawNeeded(Redraw::AtLastStateWhenOver);
    if (has(kWindowEnabled))
        view.EnabledChanged();
    if (change.notice && !has(kNoticeFirst))
        Notify(*change.notice);
}

void TintButtonModel::Notify(PropertyKey key) const
{
    site_.PropertyChanged(KeyName(key));
}

void TintButtonModel::SetBackColor(Color color)
{
    if (site_.DesignMode())
        values_.backOver = color;
    Set(values_.backColor, color, Property::BackColor);
}

void TintButtonModel::SetForeColor(Color color)
{
    if (site_.DesignMode())
        values_.foreOver = color;
    Set(values_.foreColor, color, Property::ForeColor);
}

void TintButtonModel::SetButtonType(std::int32_t buttonType)
{
    values_.buttonType = buttonType;
    // In a designer the outlined style comes with a bold caption.
    if (buttonType == TypeOutlined && site_.DesignMode())
        SetFontBold(true);
    Changed(Property::ButtonType);
}

bool TintButtonModel::SetFont(const FontDesc& font)
{
    if (!IsValidFontSize(font.size))
        return false;
    Set(font_, font, Property::Font);
    return true;
}

std::int16_t TintButtonModel::FontSize() const
{
    // Halves go to the even neighbour, the default rounding mode: 8.5 reads 8, 9.5 reads 10.
    return static_cast<std::int16_t>(std::nearbyint(font_.size));
}

bool TintButtonModel::SetFontSize(std::int16_t size)
{
    if (!IsValidFontSize(size))
        return false;
    Set(font_.size, static_cast<double>(size), Property::FontPart);
    return true;
}

bool TintButtonModel::SetMousePointer(std::int32_t pointer)
{
    if (!Fits16Bits(pointer))
        return false;
    Set(pointerShape_, static_cast<std::int16_t>(pointer), Property::MousePointer);
    return true;
}

void TintButtonModel::SetMouseIcon(const PicturePtr& icon)
{
    if (!icon || icon->GetType() == Picture::Type::Icon)
        pointerPicture_ = icon;
    Changed(Property::MouseIcon);
}

bool TintButtonModel::ApplyHandPointer(bool hand)
{
    if (!hand) {
        pointerPicture_.reset();
        pointerShape_ = kPointerArrow;
        return true;
    }
    auto cursor = Picture::FromSystemCursor(kHandCursor);
    if (!cursor)
        return false;
    pointerPicture_ = std::move(cursor);
    pointerShape_ = kPointerCustom;
    return true;
}

bool TintButtonModel::SetHandPointer(bool hand)
{
    values_.handPointer = hand;
    if (!ApplyHandPointer(hand))
        return false;
    Changed(Property::HandPointer);
    return true;
}

Color TintButtonModel::TranslateColor(Color color)
{
    // System colors are read here rather than through OLE, which under some platforms
    // answers an index beyond the table with a color instead of failing.
    if ((color & 0xFF000000) == kSystemColor) {
        const Color index = color & 0x00FFFFFF;
        return index <= COLOR_MENUBAR ? GetSysColor(static_cast<int>(index)) : 0;
    }
    // A plain RGB value is itself; palette references, which no stored layout of ours holds,
    // go to OLE, loaded only for them.
    if ((color & 0xFF000000) == 0)
        return color;
    static const auto translate = SystemFunction<decltype(&OleTranslateColor)>(L"oleaut32.dll", "OleTranslateColor");
    COLORREF rgb = 0;
    return translate && SUCCEEDED(translate(color, nullptr, &rgb)) ? rgb : 0;
}

Color TintButtonModel::ShiftColor(Color color, int delta, bool proportionalBlue) const
{
    return qm::ShiftColor(color, delta, proportionalBlue, values_.softBevel);
}

void TintButtonModel::ComputeColors()
{
    const Values& v = values_;
    const ColorInputs inputs{v.colorScheme, v.buttonType, v.backColor, v.backOver,
                             v.foreColor,   v.foreOver,   v.maskColor, v.softBevel};
    ComputeColorSet(inputs, colorSource_, colors_);
}

WorkingColors TintButtonModel::DrawingColors(bool over) const
{
    const Values& v = values_;
    if (!over || v.colorScheme != SchemeCustom)
        return colors_;
    const ColorInputs inputs{v.colorScheme, v.buttonType, v.backOver,  v.backOver,
                             v.foreColor,   v.foreOver,   v.maskColor, v.softBevel};
    WorkingColors hovered;
    ComputeColorSet(inputs, colorSource_, hovered);
    return hovered;
}

void TintButtonModel::Resize(int width, int height)
{
    width_ = width;
    height_ = height;
    Place();
}

RECT TintButtonModel::InnerRect() const
{
    return InnerRectFor(values_.buttonType, RECT{0, 0, width_, height_});
}

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

std::wstring AccessKeyFor(std::wstring_view caption)
{
    if (caption.size() < 2)
        return {};
    const auto first = caption.find(L'&');
    if (first == std::wstring_view::npos || first + 1 == caption.size())
        return {};
    auto marked = first + 1;
    if (caption[marked] == L'&') {
        const auto next = caption.find(L'&', first + 2);
        if (next == std::wstring_view::npos || next + 1 == caption.size() || caption[next + 1] == L'&')
            return {};
        marked = next + 1;
    }
    wchar_t key = caption[marked];
    CharLowerBuffW(&key, 1);
    return std::wstring(1, key);
}

} // namespace qm
