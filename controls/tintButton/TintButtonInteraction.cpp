#include "controls/tintButton/TintButton.h"

#include "controls/tintButton/TintButtonAccessible.h"

#include <windowsx.h>

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

void TintButton::SetAccessKey()
{
    accessKeys = AccessKeyFor(prop.Caption);
}

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
        result = (lastState == StateDown ? BST_PUSHED : 0) | (hasFocus ? BST_FOCUS : 0) |
                 (prop.CheckBoxBehaviour && prop.Value ? BST_CHECKED : 0);
        return true;
    case WM_GETOBJECT:
        result = ButtonAccessibleObject(window, wParam, lParam);
        return result != 0;
    default:
        return false;
    }
}

// The host's side of a press: the focus (as the platform's buttons take it on a left press),
// the mouse held for the release, then the button's own handling.
void TintButton::HostPress(std::int16_t button, WPARAM keys, LPARAM point)
{
    if (button == kLeftButton && GetFocus() != window)
        SetFocus(window);
    SetCapture(window);
    capturing = true;
    clickButtons = static_cast<std::int16_t>(clickButtons | button);
    const POINT at = PointOf(point);
    MousePress(button, MouseShift(keys), static_cast<float>(at.x), static_cast<float>(at.y));
}

void TintButton::HostRelease(std::int16_t button, WPARAM keys, LPARAM point)
{
    const POINT at = PointOf(point);
    const bool click = (clickButtons & button) != 0 && Inside(at);
    clickButtons = static_cast<std::int16_t>(clickButtons & ~button);
    if (capturing && HeldButtons(keys) == 0) {
        capturing = false;
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
    if (!capturing || newCapture == window)
        return;
    capturing = false;
    clickButtons = 0;
    Redraw(StateUp, false);
}

bool TintButton::Inside(POINT point) const
{
    RECT client{};
    GetClientRect(window, &client);
    if (!PtInRect(&client, point))
        return false;
    // A window without a region of its own is its rectangle.
    UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    return !shape || GetWindowRgn(window, shape.get()) == ERROR || PtInRegion(shape.get(), point.x, point.y);
}

void TintButton::MousePress(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events.MouseDown, button, shift, x, y);
    lastButton = button;
    if (button != kRightButton)
        Redraw(StateDown, false);
}

void TintButton::PointerMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events.MouseMove, button, shift, x, y);
    if (button >= kRightButton)
        return;
    if (!IsMouseOver()) {
        Redraw(StateUp, false);
        return;
    }
    if (button == 0 && !isOver) {
        SetTimer(window, kOverTimerId, kOverTimerInterval, nullptr);
        isOver = true;
        Redraw(StateUp, true);
        Raise(events.MouseOver);
    } else if (button == kLeftButton) {
        // Drawn pressed under the pointer; isOver goes back to False, so the next move without
        // a button held counts as entering again.
        isOver = true;
        Redraw(StateDown, false);
        isOver = false;
    }
}

void TintButton::MouseRelease(std::int16_t button, std::int16_t shift, float x, float y)
{
    Raise(events.MouseUp, button, shift, x, y);
    if (button != kRightButton)
        Redraw(StateUp, false);
}

void TintButton::ClickNotice()
{
    if (lastButton != kLeftButton || !prop.Enabled)
        return;
    if (prop.CheckBoxBehaviour)
        prop.Value = !prop.Value;
    Redraw(StateUp, true);
    // The released look reaches the screen before the holder's handler runs.
    UpdateWindow(window);
    Raise(events.Click);
}

void TintButton::DoubleClick()
{
    if (lastButton != kLeftButton)
        return;
    MousePress(kLeftButton, 0, 0, 0);
    SetCapture(window);
    capturing = true;
}

void TintButton::KeyDown(std::int16_t keyCode, std::int16_t shift)
{
    Raise(events.KeyDown, keyCode, shift);
    lastKey = keyCode;
    switch (keyCode) {
    case kSpace:
        Redraw(StateDown, false);
        break;
    case VK_LEFT:
    case VK_UP:
        site->MoveFocus(window, true);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        site->MoveFocus(window, false);
        break;
    default:
        break;
    }
}

void TintButton::KeyPress(std::int16_t keyAscii)
{
    Raise(events.KeyPress, keyAscii);
}

void TintButton::KeyUp(std::int16_t keyCode, std::int16_t shift)
{
    Raise(events.KeyUp, keyCode, shift);
    if (keyCode != kSpace)
        return;
    if (lastKey != kSpace || !prop.Enabled) {
        // Another key came between: no click, but the space bar no longer holds the button
        // down (unless the mouse does).
        if (!capturing)
            Redraw(StateUp, false);
        return;
    }
    if (prop.CheckBoxBehaviour)
        prop.Value = !prop.Value;
    Redraw(StateUp, false);
    UpdateWindow(window);
    Raise(events.Click);
}

void TintButton::AccessKeyPress()
{
    lastButton = kLeftButton;
    ClickNotice();
}

void TintButton::FocusChanged(bool gained)
{
    hasFocus = gained;
    // The release of a space bar held as the focus leaves goes elsewhere: the press ends here.
    if (!gained && lastKey == kSpace) {
        lastKey = 0;
        Redraw(StateUp, true);
        return;
    }
    Redraw(lastState, true);
}

void TintButton::AmbientChanged()
{
    if (prop.ColorScheme == SchemeCustom)
        return;
    ComputeColors();
    Redraw(lastState, true);
}

void TintButton::OverTimerTick()
{
    if (IsMouseOver())
        return;
    KillTimer(window, kOverTimerId);
    isOver = false;
    Redraw(StateUp, true);
    Raise(events.MouseOut);
}

bool TintButton::IsMouseOver() const
{
    POINT point{};
    return GetCursorPos(&point) && WindowFromPoint(point) == window;
}

} // namespace qm
