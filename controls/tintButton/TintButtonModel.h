#pragma once

#include "controls/tintButton/TintButtonColors.h"
#include "host/ControlSite.h"
#include "host/Picture.h"
#include "host/PropertyStore.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace qm {

enum ButtonTypeValue : std::int32_t {
    TypeFramed = 1,
    TypeStandard = 2,
    TypeGradient = 3,
    TypeRoundedBevel = 4,
    TypeOutlined = 5,
    TypeLightBevel = 6,
    TypeThinRaised = 7,
    TypeHotThin = 8,
    TypeHotFlat = 9,
    TypePlain = 10,
    TypeTransparent = 11,
    TypeHotRaised = 12,
    TypeOval = 13,
    TypeShaded = 14,
};

enum PicturePositionValue : std::int32_t {
    PictureLeft = 0,
    PictureRight = 1,
    PictureTop = 2,
    PictureBottom = 3,
    PictureBehind = 4,
};

enum SpecialEffectValue : std::int32_t {
    EffectNone = 0,
    EffectRaised = 1,
    EffectSunken = 2,
    EffectShadow = 3,
};

// The persisted properties, in the order they are loaded and saved.
enum class PropertyKey {
    BTYPE, TX, ENAB, FONT, COLTYPE, FOCUSR, BCOL, BCOLO, FCOL, FCOLO, MCOL, MPTR,
    MICON, PICN, PICH, UMCOL, SOFT, PICPOS, NGREY, FX, HAND, CHECK, VALUE,
};
inline constexpr std::array<std::wstring_view, 23> kPersistedKeys = {
    L"BTYPE", L"TX", L"ENAB", L"FONT", L"COLTYPE", L"FOCUSR", L"BCOL", L"BCOLO",
    L"FCOL", L"FCOLO", L"MCOL", L"MPTR", L"MICON", L"PICN", L"PICH", L"UMCOL",
    L"SOFT", L"PICPOS", L"NGREY", L"FX", L"HAND", L"CHECK", L"VALUE",
};
constexpr std::wstring_view KeyName(PropertyKey key)
{
    return kPersistedKeys[static_cast<std::size_t>(key)];
}

// The MousePointer that shows the picture in MouseIcon.
inline constexpr std::int16_t kPointerCustom = 99;

// The client rectangle less the edge of a drawing style.
RECT InnerRectFor(std::int32_t buttonType, const RECT& client);

// The access key a caption marks, in lower case, or empty. The first "&" marks the character
// after it; when that is a second "&" (the pair shows one ampersand) the next "&" is looked at
// instead, and no further one.
std::wstring AccessKeyFor(std::wstring_view caption);

// What a button is, without its window: the properties, the working colors derived from
// them, their saving and loading, and where the caption and the picture go. Every setter
// stores its value and then runs what a change of that property sets off, in one path and
// order for all (the change table in TintButtonModel.cpp); what needs the window is asked of
// the View.
class TintButtonModel {
public:
    static constexpr std::wstring_view kVersion = L"2.0.6";

    // The drawing a change asks for: in the state drawn last, released, or in the state drawn
    // last only while the pointer is over the button.
    enum class Redraw : std::uint8_t { AtLastState, Up, AtLastStateWhenOver };

    // The window that shows a model, told of a change at the point the change needs it. The
    // defaults are those of a model shown nowhere: it keeps its values and measures no caption.
    class View {
    public:
        virtual ~View() = default;
        virtual UINT Dpi() const;
        // Moves the rectangle's right and bottom to those of the caption wrapped within it.
        virtual void MeasureCaption(std::wstring_view /*caption*/, RECT& /*rect*/) const {}
        // Before the caption is measured again in the new font.
        virtual void FontChanged() {}
        virtual void CaptionChanged() {}
        virtual void ButtonTypeChanged() {}
        virtual void EnabledChanged() {}
        virtual void RedrawNeeded(Redraw /*redraw*/) {}
    };

    // Where the caption and the picture go, in pixels.
    struct Placement {
        RECT caption{};
        // caption moved one pixel right and down, where a pressed look draws it.
        RECT pressedCaption{};
        int captionWidth = 0;
        int captionHeight = 0;
        int pictureLeft = 0;
        int pictureTop = 0;
        int pictureWidth = 0;
        int pictureHeight = 0;
    };
    using CaptionMeasure = std::function<void(std::wstring_view caption, RECT& rect)>;

    // Starts with the site's ambient font and nothing else set: InitNew or ReadProperties
    // gives the rest.
    TintButtonModel(ControlSite& site, const ColorSource& colorSource, View* view = nullptr);
    TintButtonModel(const TintButtonModel&) = delete;
    TintButtonModel& operator=(const TintButtonModel&) = delete;

    // Properties, in the order of the control's interface.
    Color BackColor() const { return values_.backColor; }
    void SetBackColor(Color color);
    Color BackOver() const { return values_.backOver; }
    void SetBackOver(Color color) { Set(values_.backOver, color, Property::BackOver); }
    Color ForeColor() const { return values_.foreColor; }
    void SetForeColor(Color color);
    Color ForeOver() const { return values_.foreOver; }
    void SetForeOver(Color color) { Set(values_.foreOver, color, Property::ForeOver); }
    Color MaskColor() const { return values_.maskColor; }
    void SetMaskColor(Color color) { Set(values_.maskColor, color, Property::MaskColor); }
    std::int32_t ButtonType() const { return values_.buttonType; }
    void SetButtonType(std::int32_t buttonType);
    const std::wstring& Caption() const { return values_.caption; }
    void SetCaption(const std::wstring& caption) { Set(values_.caption, caption, Property::Caption); }
    bool Enabled() const { return values_.enabled; }
    void SetEnabled(bool enabled) { Set(values_.enabled, enabled, Property::Enabled); }
    const FontDesc& Font() const { return font_; }
    // False, changing nothing, for a size outside what a font can have (IsValidFontSize).
    [[nodiscard]] bool SetFont(const FontDesc& font);
    bool FontBold() const { return font_.bold; }
    void SetFontBold(bool bold) { Set(font_.bold, bold, Property::FontPart); }
    bool FontItalic() const { return font_.italic; }
    void SetFontItalic(bool italic) { Set(font_.italic, italic, Property::FontPart); }
    bool FontUnderline() const { return font_.underline; }
    void SetFontUnderline(bool underline) { Set(font_.underline, underline, Property::FontPart); }
    std::int16_t FontSize() const;
    [[nodiscard]] bool SetFontSize(std::int16_t size);
    const std::wstring& FontName() const { return font_.name; }
    void SetFontName(const std::wstring& name) { Set(font_.name, name, Property::FontPart); }
    std::int32_t ColorScheme() const { return values_.colorScheme; }
    void SetColorScheme(std::int32_t scheme) { Set(values_.colorScheme, scheme, Property::ColorScheme); }
    bool ShowFocusRect() const { return values_.showFocusRect; }
    void SetShowFocusRect(bool show) { Set(values_.showFocusRect, show, Property::ShowFocusRect); }
    std::int32_t MousePointer() const { return pointerShape_; }
    // False (overflow) for a value outside 16 bits; nothing then changes.
    [[nodiscard]] bool SetMousePointer(std::int32_t pointer);
    const PicturePtr& MouseIcon() const { return pointerPicture_; }
    // A pointer must be an icon or cursor; anything else leaves the pointer as it is.
    void SetMouseIcon(const PicturePtr& icon);
    bool HandPointer() const { return values_.handPointer; }
    // False when the hand cursor cannot be had; the property then holds the new value and
    // the pointer is unchanged.
    [[nodiscard]] bool SetHandPointer(bool hand);
    bool SoftBevel() const { return values_.softBevel; }
    void SetSoftBevel(bool soft) { Set(values_.softBevel, soft, Property::SoftBevel); }
    const PicturePtr& PictureNormal() const { return values_.pictureNormal; }
    void SetPictureNormal(const PicturePtr& picture) { Set(values_.pictureNormal, picture, Property::PictureNormal); }
    const PicturePtr& PictureOver() const { return values_.pictureOver; }
    void SetPictureOver(const PicturePtr& picture) { Set(values_.pictureOver, picture, Property::PictureOver); }
    std::int32_t PicturePosition() const { return values_.picturePosition; }
    void SetPicturePosition(std::int32_t position) { Set(values_.picturePosition, position, Property::PicturePosition); }
    bool UseMaskColor() const { return values_.useMaskColor; }
    void SetUseMaskColor(bool use) { Set(values_.useMaskColor, use, Property::UseMaskColor); }
    bool UseGreyscale() const { return values_.useGreyscale; }
    void SetUseGreyscale(bool use) { Set(values_.useGreyscale, use, Property::UseGreyscale); }
    std::int32_t SpecialEffect() const { return values_.specialEffect; }
    void SetSpecialEffect(std::int32_t effect) { Set(values_.specialEffect, effect, Property::SpecialEffect); }
    bool CheckBoxBehaviour() const { return values_.checkBoxBehaviour; }
    void SetCheckBoxBehaviour(bool behaviour) { Set(values_.checkBoxBehaviour, behaviour, Property::CheckBoxBehaviour); }
    bool Value() const { return values_.value; }
    void SetValue(bool value) { Set(values_.value, value, Property::Value); }
    std::wstring_view Version() const { return kVersion; }

    // A click of a check-box button: Value turns over with no change notice.
    void ToggleValue() { values_.value = !values_.value; }

    // Persistence: a newly placed button's defaults, loading and saving the 23 keys. Loading
    // is no change of the button: nothing is notified, drawn or colored.
    void InitNew();
    void ReadProperties(const PropertyStore& bag);
    void WriteProperties(PropertyStore& bag) const;

    // The working colors, from the scheme and the color properties.
    void ComputeColors();
    const WorkingColors& Colors() const { return colors_; }
    // The colors of one drawing: under the custom scheme the pointer-over face stands in for
    // BackColor, so that every edge follows it.
    WorkingColors DrawingColors(bool over) const;
    Color ShiftColor(Color color, int delta, bool proportionalBlue = false) const;
    // A system-color reference becomes its current RGB value; what cannot be translated is 0.
    static Color TranslateColor(Color color);

    // Size, inner rectangle and placement of caption and picture.
    void Resize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT InnerRect() const;
    void Place();
    // The view's DPI changed: a picture that is drawn for the DPI is measured again.
    void DpiChanged() { MeasurePicture(); }
    const Placement& Placed() const { return placement_; }
    // Placement with the caption measured by measure (nothing: left as the space it has).
    Placement PlacedWith(const CaptionMeasure& measure) const;

    // What the caption's access key is: none, or one in lower case.
    const std::wstring& AccessKeys() const { return accessKeys_; }

private:
    // What a setter can change; FontPart is any one attribute of the font.
    enum class Property : std::uint8_t {
        BackColor, BackOver, ForeColor, ForeOver, MaskColor, ButtonType, Caption, Enabled, Font, FontPart,
        ColorScheme, ShowFocusRect, MousePointer, MouseIcon, HandPointer, SoftBevel, PictureNormal, PictureOver,
        PicturePosition, UseMaskColor, UseGreyscale, SpecialEffect, CheckBoxBehaviour, Value,
    };
    struct Change;
    static const Change& ChangeOf(Property property);

    // The one path of every setter: store, then run the property's change.
    template <typename T, typename V>
    void Set(T& field, V&& value, Property property)
    {
        field = std::forward<V>(value);
        Changed(property);
    }
    void Changed(Property property);
    void Notify(PropertyKey key) const;
    [[nodiscard]] bool ApplyHandPointer(bool hand);
    void MeasurePicture();
    View& TheView() const;

    struct Values {
        std::int32_t buttonType = 0;
        std::wstring caption;
        bool enabled = false;
        std::int32_t colorScheme = 0;
        bool showFocusRect = false;
        Color backColor = 0;
        Color backOver = 0;
        Color foreColor = 0;
        Color foreOver = 0;
        Color maskColor = 0;
        PicturePtr pictureNormal;
        PicturePtr pictureOver;
        bool useMaskColor = false;
        bool softBevel = false;
        std::int32_t picturePosition = 0;
        bool useGreyscale = false;
        std::int32_t specialEffect = 0;
        bool handPointer = false;
        bool checkBoxBehaviour = false;
        bool value = false;
    };

    ControlSite& site_;
    const ColorSource& colorSource_;
    View* view_;
    Values values_;
    FontDesc font_;
    // The window's pointer: a shape number, or kPointerCustom for pointerPicture_.
    std::int16_t pointerShape_ = 0;
    PicturePtr pointerPicture_;
    WorkingColors colors_;
    int width_ = 0;
    int height_ = 0;
    Placement placement_;
    std::wstring accessKeys_;
};

} // namespace qm
