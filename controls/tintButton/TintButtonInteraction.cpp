#include "controls/tintButton/TintButton.h"

#include "controls/tintButton/TintButtonAccessible.h"

#include <windowsx.h>

#include <array>

namespace qm {

namespace {

constexpr UINT_PTR kOverTimerId = 1;
// The platform raises an interval below its minimum (10 ms) to that minimum.
constexpr UINT kOverTimerInterval = 3;
constexpr std::int16_t kSpace = VK_SPACE;

struct MouseMessage {
    UINT message;
    std::int16_t button;
};
constexpr std::array<MouseMessage, 9> kMouseMessages = {{
    {WM_LBUTTONDOWN, kLeftButton},
    {WM_LBUTTONUP, kLeftButton},
    {WM_LBUTTONDBLCLK, kLeftButton},
    {WM_RBUTTONDOWN, kRightButton},
    {WM_RBUTTONUP, kRightButton},
    {WM_RBUTTONDBLCLK, kRightButton},
    {WM_MBUTTONDOWN, kMiddleButton},
    {WM_MBUTTONUP, kMiddleButton},
    {WM_MBUTTONDBLCLK, kMiddleButton},
}};

std::int16_t ButtonOf(UINT message)
{
    for (const auto& m : kMouseMessages) {
        if (m.message == message)
            return m.button;
    }
    return 0;
}

std::int16_t HeldButtons(WPARAM keys)
{
    return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? kLeftButton : 0) |
                                     ((keys & MK_RBUTTON) ? kRightButton : 0) |
                                     ((keys & MK_MBUTTON) ? kMiddleButton : 0));
}

std::int16_t AltState()
{
    return GetKeyState(VK_MENU) < 0 ? kAltMask : 0;
}

std::int16_t MouseShift(WPARAM keys)
{
    return static_cast<std::int16_t>(((keys & MK_SHIFT) ? kShiftMask : 0) | ((keys & MK_CONTROL) ? kCtrlMask : 0) |
                                     AltState());
}

std::int16_t KeyShift()
{
    return static_cast<std::int16_t>((GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) |
                                     (GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) | AltState());
}

POINT PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The handler runs from a copy, so that one that destroys the button (a Close button) does
// not destroy the running handler with it.
template <typename Handler, typename... Args>
void Raise(const Handler& handler, Args&... args)
{
    if (handler) {
        const Handler copy = handler;
        copy(args...);
    }
}

} // namespace

bool TintButton::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    // A quick second press of the right or middle button is a press like any other.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        HostPress(ButtonOf(message), wParam, lParam);
        return true;
    case WM_LBUTTONDBLCLK:
        // Not a press to the host either: its release makes no click.
        DoubleClick();
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        HostRelease(ButtonOf(message), wParam, lParam);
        return true;
    case WM_MOUSEMOVE: {
        const POINT point = PointOf(lParam);
        PointerMove(HeldButtons(wParam), MouseShift(wParam), static_cast<float>(point.x), static_cast<float>(point.y));
        return true;
    }
    case WM_CAPTURECHANGED:
        CaptureLost(reinterpret_cast<HWND>(lParam));
        return true;
    case WM_KEYDOWN:
        KeyDown(static_cast<std::int16_t>(wParam), KeyShift());
        return true;
    case WM_CHAR:
        KeyPress(static_cast<std::int16_t>(wParam));
        return true;
    case WM_KEYUP:
        KeyUp(static_cast<std::int16_t>(wParam), KeyShift());
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FocusChanged(message == WM_SETFOCUS);
        return true;
    case WM_TIMER:
        if (wParam != kOverTimerId)
            return false;
        OverTimerTick();
        return true;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        AmbientChanged();
        return true;
    case BM_CLICK:
        AccessKeyPress();
        return true;
    case BM_GETSTATE:
        result = (lastState_ == VisualState::Down ? BST_PUSHED : 0) | (hasFocus_ ? BST_FOCUS : 0) |
                 (model_.CheckBoxBehaviour() && model_.Value() ? BST_CHECKED : 0);
        return true;
    case kGetSelectedMessage:
        result = selected_ ? TRUE : FALSE;
        return true;
    case WM_GETOBJECT:
        result = ButtonAccessibleObject(window_, wParam, lParam);
        return result != 0;
    default:
        return false;
    }
}

// The host's side of a press: the focus (as the platform's buttons take it on a left press),
// the mouse held for the release, then the button's own handling.
void TintButton::HostPress(std::int16_t button, WPARAM keys, LPARAM point)
{
    if (button == kLeftButton && GetFocus() != window_)
        SetFocus(window_);
    SetCapture(window_);
    mouseCaptured_ = true;
    clickButtons_ = static_cast<std::int16_t>(clickButtons_ | button);
    const POINT at = PointOf(point);
    MousePress(button, MouseShift(keys), static_cast<float>(at.x), static_cast<float>(at.y));
}

void TintButton::HostRelease(std::int16_t button, WPARAM keys, LPARAM point)
{
    const POINT at = PointOf(point);
    const bool click = (clickButtons_ & button) != 0 && Inside(at);
    clickButtons_ = static_cast<std::int16_t>(clickButtons_ & ~button);
    if (mouseCaptured_ && HeldButtons(keys) == 0) {
        mouseCaptured_ = false;
        ReleaseCapture();
    }
    MouseRelease(button, MouseShift(keys), static_cast<float>(at.x), static_cast<float>(at.y));
    if (click)
        ClickNotice();
}

// Another window took the mouse during a press (a message box opened by a handler): the
// press ends without a click, and the button does not stay drawn pressed.
void TintButton::CaptureLost(HWND newCapture)
{
    if (!mouseCaptured_ || newCapture == window_)
        return;
    mouseCaptured_ = false;
    clickButtons_ = 0;
    Redraw(VisualState::Up, false);
}

bool TintButton::Inside(POINT point) const
{
    RECT client{};
    GetClientRect(window_, &client);
    if (!PtInRect(&client, point))
        return false;
    // A window without a region of its own is its rectangle.
    UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    return !shape || GetWindowRgn(window_, shape.get()) == ERROR || PtInRegion(shape.get(), point.x, point.y);
}

void TintButton::MousePress(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events_.MouseDown, button, shift, x, y);
    lastButton_ = button;
    if (button != kRightButton)
        Redraw(VisualState::Down, false);
}

void TintButton::PointerMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events_.MouseMove, button, shift, x, y);
    if (button >= kRightButton)
        return;
    if (!IsMouseOver()) {
        Redraw(VisualState::Up, false);
        return;
    }
    if (button == 0 && !isOver_) {
        SetTimer(window_, kOverTimerId, kOverTimerInterval, nullptr);
        isOver_ = true;
        Redraw(VisualState::Up, true);
        Raise(events_.MouseOver);
    } else if (button == kLeftButton) {
        // Drawn pressed under the pointer; isOver_ goes back to False, so the next move without
        // a button held counts as entering again.
        isOver_ = true;
        Redraw(VisualState::Down, false);
        isOver_ = false;
    }
}

void TintButton::MouseRelease(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events_.MouseUp, button, shift, x, y);
    if (button != kRightButton)
        Redraw(VisualState::Up, false);
}

void TintButton::ClickNotice()
{
    if (lastButton_ != kLeftButton || !model_.Enabled())
        return;
    if (model_.CheckBoxBehaviour())
        model_.ToggleValue();
    Redraw(VisualState::Up, true);
    // The released look reaches the screen before the holder's handler runs.
    UpdateWindow(window_);
    Raise(events_.Click);
}

void TintButton::DoubleClick()
{
    if (lastButton_ != kLeftButton)
        return;
    MousePress(kLeftButton, 0, 0, 0);
    SetCapture(window_);
    mouseCaptured_ = true;
}

void TintButton::KeyDown(std::int16_t keyCode, std::int16_t shift)
{
    Raise(events_.KeyDown, keyCode, shift);
    lastKey_ = keyCode;
    switch (keyCode) {
    case kSpace:
        Redraw(VisualState::Down, false);
        break;
    case VK_LEFT:
    case VK_UP:
        site_->MoveFocus(window_, true);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        site_->MoveFocus(window_, false);
        break;
    default:
        break;
    }
}

void TintButton::KeyPress(std::int16_t keyAscii)
{
    Raise(events_.KeyPress, keyAscii);
}

void TintButton::KeyUp(std::int16_t keyCode, std::int16_t shift)
{
    Raise(events_.KeyUp, keyCode, shift);
    if (keyCode != kSpace)
        return;
    if (lastKey_ != kSpace || !model_.Enabled()) {
        // Another key came between: no click, but the space bar no longer holds the button
        // down (unless the mouse does).
        if (!mouseCaptured_)
            Redraw(VisualState::Up, false);
        return;
    }
    if (model_.CheckBoxBehaviour())
        model_.ToggleValue();
    Redraw(VisualState::Up, false);
    UpdateWindow(window_);
    Raise(events_.Click);
}

void TintButton::AccessKeyPress()
{
    lastButton_ = kLeftButton;
    ClickNotice();
}

void TintButton::FocusChanged(bool gained)
{
    hasFocus_ = gained;
    // The release of a space bar held as the focus leaves goes elsewhere: the press ends here.
    if (!gained && lastKey_ == kSpace) {
        lastKey_ = 0;
        Redraw(VisualState::Up, true);
        return;
    }
    Redraw(lastState_, true);
}

void TintButton::AmbientChanged()
{
    if (model_.ColorScheme() == SchemeCustom)
        return;
    model_.ComputeColors();
    Redraw(lastState_, true);
}

void TintButton::OverTimerTick()
{
    if (IsMouseOver())
        return;
    KillTimer(window_, kOverTimerId);
    isOver_ = false;
    Redraw(VisualState::Up, true);
    Raise(events_.MouseOut);
}

bool TintButton::IsMouseOver() const
{
    POINT point{};
    return GetCursorPos(&point) && WindowFromPoint(point) == window_;
}

} // namespace qm
