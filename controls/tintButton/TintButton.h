#pragma once

#include "controls/tintButton/TintButtonColors.h"
#include "host/ControlSite.h"
#include "host/GdiHandles.h"
#include "host/LayoutText.h"
#include "host/Picture.h"
#include "host/PropertyStore.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qm {

// Visual states asked of Redraw.
inline constexpr std::uint8_t StateUp = 0;
inline constexpr std::uint8_t StateDown = 2;

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

// The client rectangle less the edge of a drawing style.
RECT InnerRectFor(std::int32_t buttonType, const RECT& client);

// ---- Interaction ----

// Mouse button codes of the events (a combination is their sum), and their shift-key codes.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

// What a button raises to its holder, in the holder's handlers. Every parameter is passed by
// reference and the button acts on what the handler leaves there: a KeyDown handler that sets
// keyCode to 0 stops the key. X and Y are pixels from the button's top-left corner.
struct TintButtonEvents {
    using MouseHandler = std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)>;
    using KeyHandler = std::function<void(std::int16_t& keyCode, std::int16_t& shift)>;

    std::function<void()> Click;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    std::function<void(std::int16_t& keyAscii)> KeyPress;
    KeyHandler KeyDown;
    KeyHandler KeyUp;
    std::function<void()> MouseOver;
    std::function<void()> MouseOut;
};

// The access key a caption marks, in lower case, or empty. The first "&" marks the character
// after it; when that is a second "&" (the pair shows one ampersand) the next "&" is looked at
// instead, and no further one.
std::wstring AccessKeyFor(std::wstring_view caption);

// The custom-drawn button of every window of the program: a child window of its own class
// whose text is its caption, drawing into a surface of its own from which the window is
// painted. Owns its window; destroying the object destroys the window.
class TintButton {
public:
    static constexpr const wchar_t* kClassName = L"QuillmoorTintButton";
    static constexpr std::wstring_view kVersion = L"2.0.6";

    // A newly placed button (the designer's path): initialised, given its defaults, sized
    // and shown. Nothing when the window cannot be made.
    static std::unique_ptr<TintButton> CreateNew(HWND parent, int id, const RECT& bounds, ControlSite* site = nullptr);
    // A button loaded from its stored properties, then sized and shown.
    static std::unique_ptr<TintButton> CreateLoaded(HWND parent, int id, const RECT& bounds, const PropertyStore& bag,
                                                    ControlSite* site = nullptr);
    // As CreateLoaded, sized from the stored layout's extent at the parent's DPI.
    static std::unique_ptr<TintButton> CreateFromLayout(HWND parent, int id, POINT position, const ControlLayout& layout,
                                                        ControlSite* site = nullptr);

    ~TintButton();
    TintButton(const TintButton&) = delete;
    TintButton& operator=(const TintButton&) = delete;

    // Properties, in the order of the control's interface.
    Color BackColor() const { return prop.BackColor; }
    void SetBackColor(Color theCol);
    Color BackOver() const { return prop.BackOver; }
    void SetBackOver(Color theCol);
    Color ForeColor() const { return prop.ForeColor; }
    void SetForeColor(Color theCol);
    Color ForeOver() const { return prop.ForeOver; }
    void SetForeOver(Color theCol);
    Color MaskColor() const { return prop.MaskColor; }
    void SetMaskColor(Color theCol);
    std::int32_t ButtonType() const { return prop.ButtonType; }
    void SetButtonType(std::int32_t newValue);
    const std::wstring& Caption() const { return prop.Caption; }
    void SetCaption(const std::wstring& newValue);
    bool Enabled() const { return prop.Enabled; }
    void SetEnabled(bool newValue);
    const FontDesc& Font() const { return font; }
    // False, changing nothing, for a size outside what a font can have (IsValidFontSize).
    bool SetFont(const FontDesc& newFont);
    bool FontBold() const { return font.bold; }
    void SetFontBold(bool newValue);
    bool FontItalic() const { return font.italic; }
    void SetFontItalic(bool newValue);
    bool FontUnderline() const { return font.underline; }
    void SetFontUnderline(bool newValue);
    std::int16_t FontSize() const;
    bool SetFontSize(std::int16_t newValue);
    const std::wstring& FontName() const { return font.name; }
    void SetFontName(const std::wstring& newValue);
    std::int32_t ColorScheme() const { return prop.ColorScheme; }
    void SetColorScheme(std::int32_t newValue);
    bool ShowFocusRect() const { return prop.ShowFocusRect; }
    void SetShowFocusRect(bool newValue);
    std::int32_t MousePointer() const { return pointerShape; }
    // False (overflow) for a value outside 16 bits; nothing then changes.
    bool SetMousePointer(std::int32_t newPointer);
    const PicturePtr& MouseIcon() const { return pointerPicture; }
    void SetMouseIcon(const PicturePtr& newIcon);
    bool HandPointer() const { return prop.HandPointer; }
    // False when the hand cursor cannot be had; the property then holds the new value
    // and the pointer is unchanged.
    bool SetHandPointer(bool newVal);
    HWND hwnd() const { return window; }
    bool SoftBevel() const { return prop.SoftBevel; }
    void SetSoftBevel(bool newValue);
    const PicturePtr& PictureNormal() const { return prop.PictureNormal; }
    void SetPictureNormal(const PicturePtr& newPic);
    const PicturePtr& PictureOver() const { return prop.PictureOver; }
    void SetPictureOver(const PicturePtr& newPic);
    std::int32_t PicturePosition() const { return prop.PicturePosition; }
    void SetPicturePosition(std::int32_t newPicPos);
    bool UseMaskColor() const { return prop.UseMaskColor; }
    void SetUseMaskColor(bool newValue);
    bool UseGreyscale() const { return prop.UseGreyscale; }
    void SetUseGreyscale(bool newValue);
    std::int32_t SpecialEffect() const { return prop.SpecialEffect; }
    void SetSpecialEffect(std::int32_t newValue);
    bool CheckBoxBehaviour() const { return prop.CheckBoxBehaviour; }
    void SetCheckBoxBehaviour(bool newValue);
    bool Value() const { return prop.Value; }
    void SetValue(bool newValue);
    std::wstring_view Version() const { return kVersion; }

    // Methods.
    void DisableRefresh();
    void Refresh();

    // ---- Interaction ----
    TintButtonEvents& Events() { return events; }
    // The holder delivers the caption's access key: the button clicks as for a left click.
    void AccessKeyPress();
    // A display property of the holder changed: its colours, or whether it shows the button
    // as its default button.
    void AmbientChanged();
    // What SetAccessKey derived from the caption: no key, or one in lower case.
    const std::wstring& AccessKeys() const { return accessKeys; }
    // The pointer, key and focus state the drawing reads, and the state last drawn.
    struct InteractionState {
        std::int16_t lastButton;
        std::int16_t lastKey;
        bool hasFocus;
        bool isOver;
        std::uint8_t lastState;
    };
    InteractionState Interaction() const { return {lastButton, lastKey, hasFocus, isOver, lastState}; }

    // Persistence: a new instance's defaults, loading and saving the 23 keys.
    void InitNew();
    void ReadProperties(const PropertyStore& bag);
    void WriteProperties(PropertyStore& bag) const;

    // Colours and shape.
    void ComputeColors();
    Color ShiftColor(Color color, int delta, bool proportionalBlue = false) const;
    // A system-colour reference becomes its current RGB value; what cannot be translated is 0.
    static Color TranslateColor(Color color);
    void OnResize();
    UniqueRegion BuildRegion() const;
    void CaptureBackground();

    // Drawing, caption, picture and access key.
    void Redraw(std::uint8_t state, bool force);
    void LayoutCaption();
    void MeasurePicture();
    void SetAccessKey();

    const WorkingColors& Colors() const { return colors; }
    const RECT& InnerRect() const { return innerRect; }
    HDC Surface() const { return surfaceDC.get(); }
    HDC BackgroundSurface() const { return backDC.get(); }

    // ---- Caption, picture and rendering ----

    // Where the caption and the picture go, in pixels; computed by LayoutCaption and
    // PlacePicture, the picture's size by MeasurePicture.
    struct CaptionLayout {
        RECT captionRect{};
        // captionRect moved one pixel right and down; the work rectangle while laying out.
        RECT pressedCaptionRect{};
        std::int32_t captionWidth = 0;
        std::int32_t captionHeight = 0;
        std::int32_t pictureLeft = 0;
        std::int32_t pictureTop = 0;
        std::int32_t pictureWidth = 0;
        std::int32_t pictureHeight = 0;
    };
    // The colour argument of RenderPicture that asks for the picture's own colours.
    static constexpr std::int32_t kNoColor = -1;

    const CaptionLayout& Layout() const { return layout; }
    void PlacePicture();
    // Caption looks 0 to 7: up, up under the pointer, down, disabled embossed, disabled
    // flat, disabled on a gradient, disabled engraved, down shaded.
    void DrawCaption(std::uint8_t look);
    // Modes 0 up, 1 down, 2 disabled.
    void DrawPicture(std::uint8_t mode);
    // Paints picture into the memory context dc (the surface, or another holding a bitmap)
    // at (x, y), w x h (negative: the picture's own size), passing pixels of the mask colour
    // through. colour >= 0 paints a silhouette in that colour (with darkOnly, only of pixels
    // whose channels sum to at most 384); otherwise the picture is drawn in its colours, in
    // grey, or faded a third toward the background.
    void RenderPicture(HDC dc, int x, int y, int w, int h, const PicturePtr& picture, Color mask,
                       std::int32_t color, bool darkOnly, bool greyscale, bool faded) const;

private:
    enum class Look { Up, Down, Disabled };

    // Primitives on the surface.
    void DrawBox(int x, int y, int width, int height, Color color, bool frameOnly);
    void DrawOval(int x, int y, int width, int height, Color penColor, Color brushColor);
    void DrawLine(int x1, int y1, int x2, int y2, Color color);
    void DrawBevel(Color c1, Color c2, Color c3, Color c4, std::int16_t inset, bool outerOnly);
    void SelectBevelPen(Color color);
    void PlotPixel(int x, int y, Color color);
    void DrawFocus();
    void DrawCorners(Color color);
    void DrawGradient(Color base, int k, bool proportionalBlue, bool darkestAtTop);

    // The looks of the styles.
    void DrawStyle(Look look);
    void DrawCaptionUp() { DrawCaption(isOver ? 1 : 0); }
    void DrawFramed(Look look);
    void DrawStandard(Look look);
    void DrawGradientStyle(Look look);
    void DrawGradientRing(const std::array<Color, 6>& colors);
    void DrawRoundedBevel(Look look);
    void DrawRoundedBevelUp();
    void DrawOutlined(Look look);
    void DrawCaptionFocusFrame();
    void DrawLightBevel(Look look);
    void DrawThin(Look look, bool hotOnly);
    void DrawHotFlat(Look look);
    void DrawTransparent(Look look);
    void DrawHotRaised(Look look);
    void DrawOvalStyle(Look look);
    void DrawShaded(Look look);
    void DrawShadedFrame();
    void DrawBoldDefaultCaption();

    // Caption and picture.
    void DrawCaptionText(const RECT& rect);
    void DrawCaptionEffect(const RECT& rect);
    void DrawPictureEffect(int offset, const PicturePtr& picture);
    int PicturePixels(int pixels) const;
    const std::uint8_t* PictureBlock(HDC dc, const PicturePtr& picture, int w, int h, Color fill) const;

    CaptionLayout layout;
    // The last picture's pixels as RenderPicture reads them (24-bit rows, icons over their
    // fill colour): pictures never change, and making the block costs more than the rest
    // of a drawing. Holds bytes only, no drawing object.
    struct PictureCache {
        PicturePtr picture;
        int width = 0;
        int height = 0;
        Color fill = 0;
        std::vector<std::uint8_t> pixels;
    };
    mutable PictureCache pictureCache;
    std::uint8_t lastLook = 0;
    // The last pen of a bevel stays selected in the surface until the next one replaces it.
    UniquePen bevelPen;

    // Lets tests and benchmarks put the button in a look that needs pointer or focus.
    friend struct TintButtonProbe;

private:
    struct Properties {
        std::int32_t ButtonType = 0;
        std::wstring Caption;
        bool Enabled = false;
        std::int32_t ColorScheme = 0;
        bool ShowFocusRect = false;
        Color BackColor = 0;
        Color BackOver = 0;
        Color ForeColor = 0;
        Color ForeOver = 0;
        Color MaskColor = 0;
        PicturePtr PictureNormal;
        PicturePtr PictureOver;
        bool UseMaskColor = false;
        bool SoftBevel = false;
        std::int32_t PicturePosition = 0;
        bool UseGreyscale = false;
        std::int32_t SpecialEffect = 0;
        bool HandPointer = false;
        bool CheckBoxBehaviour = false;
        bool Value = false;
    };

    explicit TintButton(ControlSite* site);
    static std::unique_ptr<TintButton> CreateHidden(HWND parent, int id, ControlSite* site);
    void Place(const RECT& bounds);
    void Notify(PropertyKey key) const;
    bool ApplyHandPointer(bool on);
    void ApplyFont();
    void FontChanged();

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnShow();
    void OnTerminate();
    void OnPaint();
    bool OnSetCursor();
    void ResizeSurface(int width, int height);
    void ReleaseSurface();
    void PrepareBackground();
    void ReleaseBackground();

    ControlSite ownSite;
    ControlSite* site;
    HWND window = nullptr;
    Properties prop;

    // The drawing surface: its font is the button's Font.
    FontDesc font;
    UniqueFont fontHandle;
    UniqueMemoryDC surfaceDC;
    UniqueBitmap surfaceBitmap;
    HGDIOBJ surfaceFirstBitmap = nullptr;
    HGDIOBJ surfaceFirstFont = nullptr;

    // The window's pointer.
    std::int16_t pointerShape = 0;
    PicturePtr pointerPicture;

    WorkingColors colors;
    std::int32_t ctlWidth = 0;
    std::int32_t ctlHeight = 0;
    RECT innerRect{};
    bool isCapturing = false;
    UniqueMemoryDC backDC;
    UniqueBitmap backBitmap;
    HGDIOBJ backFirstBitmap = nullptr;

    bool isOver = false;
    std::uint8_t lastState = StateUp;
    bool drawEnabled = true;
    std::wstring lastCaption;

    // ---- Interaction ----
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void HostPress(std::int16_t button, WPARAM keys, LPARAM point);
    void HostRelease(std::int16_t button, WPARAM keys, LPARAM point);
    void CaptureLost(HWND newCapture);
    bool Inside(POINT point) const;
    void MousePress(std::int16_t button, std::int16_t shift, float x, float y);
    void PointerMove(std::int16_t button, std::int16_t shift, float x, float y);
    void MouseRelease(std::int16_t button, std::int16_t shift, float x, float y);
    void ClickNotice();
    void DoubleClick();
    void KeyDown(std::int16_t keyCode, std::int16_t shift);
    void KeyPress(std::int16_t keyAscii);
    void KeyUp(std::int16_t keyCode, std::int16_t shift);
    void FocusChanged(bool gained);
    void OverTimerTick();
    bool IsMouseOver() const;

    TintButtonEvents events;
    std::wstring accessKeys;
    std::int16_t lastButton = 0;
    std::int16_t lastKey = 0;
    bool hasFocus = false;
    // The host's part of a click: the buttons pressed here whose release here is a click, and
    // whether the window holds the mouse for a press.
    std::int16_t clickButtons = 0;
    bool capturing = false;
};

} // namespace qm
