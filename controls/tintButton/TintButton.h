#pragma once

#include "controls/tintButton/TintButtonModel.h"
#include "controls/tintButton/TintButtonPainter.h"
#include "controls/tintButton/TintButtonPlatformColors.h"
#include "controls/tintButton/TintButtonSurface.h"
#include "host/ControlSite.h"
#include "host/StoredLayoutText.h"
#include "host/PropertyStore.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qm {

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

// The custom-drawn button of every window of the program: a child window of its own class
// whose text is its caption. It takes the pointer, keys and focus, keeps its model, paints it
// onto a surface of its own with its painter and is painted from that surface. Owns its
// window; destroying the object destroys the window.
class TintButton final : private TintButtonModel::View {
public:
    static constexpr const wchar_t* kClassName = L"QuillmoorTintButton";

    // A newly placed button (the designer's path): initialised, given its defaults, sized
    // and shown. Nothing when the window cannot be made.
    [[nodiscard]] static std::unique_ptr<TintButton> CreateNew(HWND parent, int id, const RECT& bounds,
                                                               ControlSite* site = nullptr);
    // A button loaded from its stored properties, then sized and shown.
    [[nodiscard]] static std::unique_ptr<TintButton> CreateLoaded(HWND parent, int id, const RECT& bounds,
                                                                  const PropertyStore& bag, ControlSite* site = nullptr);
    // As CreateLoaded, sized from the stored layout's extent at the parent's DPI.
    [[nodiscard]] static std::unique_ptr<TintButton> CreateFromLayout(HWND parent, int id, POINT position,
                                                                      const ControlLayout& layout,
                                                                      ControlSite* site = nullptr);

    ~TintButton() override;
    TintButton(const TintButton&) = delete;
    TintButton& operator=(const TintButton&) = delete;

    HWND hwnd() const { return window_; }
    // The properties; a change shows on the button at once.
    TintButtonModel& Model() { return model_; }
    const TintButtonModel& Model() const { return model_; }
    TintButtonEvents& Events() { return events_; }
    // Pressed as last drawn; pointer, focus and default as they are now.
    TintButtonState State() const;
    // What the window is painted from, with any drawing still owed done; nothing once the
    // window is gone.
    const TintButtonSurface* Surface();

    // The holder delivers the caption's access key: the button clicks as for a left click.
    void AccessKeyPress();
    // One choice among several buttons is the current one: it keeps the look the pointer gives
    // it and is read out as selected. Holders choose; a click does not.
    void SetSelected(bool selected);
    bool Selected() const { return selected_; }
    // Drawing stops until Refresh, which recomputes colors and placement and draws again.
    void DisableRefresh();
    // A transparent button copies what lies under it again: its parent has shown, or it has a
    // new size.
    void RetakeBackground();
    void Refresh();

private:
    // What a drawing is asked for: the released or the pressed look.
    enum class VisualState : std::uint8_t { Up, Down };

    explicit TintButton(ControlSite* site);
    [[nodiscard]] static std::unique_ptr<TintButton> CreateHidden(HWND parent, int id, const RECT& bounds,
                                                                 ControlSite* site);
    void ShowPlaced();

    // TintButtonModel::View.
    UINT Dpi() const override;
    void MeasureCaption(std::wstring_view caption, RECT& rect) const override;
    void FontChanged() override;
    void CaptionChanged() override;
    void ButtonTypeChanged() override;
    void EnabledChanged() override;
    void RedrawNeeded(TintButtonModel::Redraw redraw) override;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnShow();
    void OnTerminate();
    void OnPaint();
    bool OnSetCursor();
    void OnResize();
    // Asks for a drawing in the look the button has now; it is done once, when the window
    // next paints (or the surface is asked for), in the look last asked for.
    void Redraw(VisualState state, bool force);
    void DrawOwed();

    // Shape and the background of the transparent style.
    void Reshape();
    void PrepareBackground();
    void CaptureBackground();

    // Input.
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
    void AmbientChanged();
    void OverTimerTick();
    bool IsMouseOver() const;

    ControlSite ownSite_;
    ControlSite* site_;
    HWND window_ = nullptr;
    PlatformColors colorSource_;
    TintButtonModel model_;
    TintButtonPainter painter_;
    std::optional<TintButtonSurface> surface_;
    // What lies under a transparent button, copied from the parent when it shows as one.
    std::optional<TintButtonSurface> background_;
    // The window has a region of its shape.
    bool shaped_ = false;
    // A background capture runs: it takes the height to 0 and back, which is no new size.
    bool capturingBackground_ = false;
    bool drawEnabled_ = false;
    // The look of a drawing asked for and not yet done. Kept from the asking, not read at the
    // paint: a drag back onto a pressed button sets isOver_ only while it asks.
    std::optional<TintButtonState> owedLook_;
    VisualState lastState_ = VisualState::Up;
    std::wstring lastCaption_;

    TintButtonEvents events_;
    std::int16_t lastButton_ = 0;
    std::int16_t lastKey_ = 0;
    bool hasFocus_ = false;
    bool isOver_ = false;
    bool selected_ = false;
    // The host's part of a click: the buttons pressed here whose release here is a click, and
    // whether the window holds the mouse for a press.
    std::int16_t clickButtons_ = 0;
    bool mouseCaptured_ = false;
};

} // namespace qm
