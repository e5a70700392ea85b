#include "controls/tintButton/TintButton.h"

#include "host/StoredLayout.h"

#include <array>

namespace qm {

namespace {

// The system cursors of the platform's pointer shapes, by shape number (IDC_ARROW is 32512,
// IDC_CROSS 32515 and so on); 0 leaves the pointer to the window class.
constexpr std::array<WORD, 16> kPointerCursors = {
    0, 32512, 32515, 32513, 32512, 32646, 32643, 32645, 32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646,
};

} // namespace

TintButton::TintButton(ControlSite* site)
    : site_(site ? site : &ownSite_), model_(*site_, colorSource_, this)
{
}

TintButton::~TintButton()
{
    if (window_)
        DestroyWindow(window_);
}

std::unique_ptr<TintButton> TintButton::CreateHidden(HWND parent, int id, const RECT& bounds, ControlSite* site)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TintButton::WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered)
        return nullptr;
    std::unique_ptr<TintButton> button(new TintButton(site));
    // Made at its place and size, so that no move follows: the window is told its size as it
    // is made, before any property is read.
    if (!CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), button.get()))
        return nullptr;
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateNew(HWND parent, int id, const RECT& bounds, ControlSite* site)
{
    auto button = CreateHidden(parent, id, bounds, site);
    if (button) {
        button->model_.InitNew();
        button->ShowPlaced();
    }
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateLoaded(HWND parent, int id, const RECT& bounds, const PropertyStore& bag,
                                                     ControlSite* site)
{
    auto button = CreateHidden(parent, id, bounds, site);
    if (button) {
        button->model_.ReadProperties(bag);
        button->ShowPlaced();
    }
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateFromLayout(HWND parent, int id, POINT position,
                                                         const ControlLayout& layout, ControlSite* site)
{
    UINT dpi = parent ? GetDpiForWindow(parent) : 0;
    if (dpi == 0)
        dpi = kBaseDpi;
    const RECT bounds{position.x, position.y, position.x + HimetricToPixels(layout.extentX, dpi),
                      position.y + HimetricToPixels(layout.extentY, dpi)};
    return CreateLoaded(parent, id, bounds, layout.properties, site);
}

void TintButton::ShowPlaced()
{
    // What the size shapes, worked out again with the properties now set.
    OnResize();
    ShowWindow(window_, SW_SHOWNA);
}

TintButtonState TintButton::State() const
{
    return {lastState_ == VisualState::Down, isOver_, hasFocus_, site_->DisplayAsDefault()};
}

void TintButton::SetSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    Redraw(lastState_, true);
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

void TintButton::DisableRefresh()
{
    // What was asked while drawing was on still shows.
    DrawOwed();
    drawEnabled_ = false;
}

void TintButton::Refresh()
{
    if (model_.ButtonType() == TypeTransparent)
        CaptureBackground();
    model_.ComputeColors();
    model_.Place();
    drawEnabled_ = true;
    Redraw(lastState_, true);
}

UINT TintButton::Dpi() const
{
    return site_->Dpi(window_);
}

void TintButton::MeasureCaption(std::wstring_view caption, RECT& rect) const
{
    if (surface_)
        surface_->MeasureCaption(caption, rect);
}

void TintButton::FontChanged()
{
    // A font the platform refuses leaves the surface with the last one.
    if (surface_)
        static_cast<void>(surface_->SetFont(model_.Font(), Dpi()));
}

void TintButton::CaptionChanged()
{
    // The caption is the window's text, which screen readers announce.
    SetWindowTextW(window_, model_.Caption().c_str());
}

void TintButton::ButtonTypeChanged()
{
    // A button that becomes transparent while shown needs the surface that showing it as
    // such would have made.
    if (model_.ButtonType() == TypeTransparent && drawEnabled_) {
        if (window_ && IsWindowVisible(window_))
            PrepareBackground();
        CaptureBackground();
    }
    Reshape();
}

void TintButton::EnabledChanged()
{
    EnableWindow(window_, model_.Enabled() ? TRUE : FALSE);
}

void TintButton::RedrawNeeded(TintButtonModel::Redraw redraw)
{
    switch (redraw) {
    case TintButtonModel::Redraw::AtLastState:
        Redraw(lastState_, true);
        break;
    case TintButtonModel::Redraw::Up:
        Redraw(VisualState::Up, true);
        break;
    case TintButtonModel::Redraw::AtLastStateWhenOver:
        if (isOver_)
            Redraw(lastState_, true);
        break;
    }
}

// A check-box button whose Value is True is drawn pressed whatever is asked. Unless forced, a
// drawing of the state and caption last drawn is skipped.
void TintButton::Redraw(VisualState state, bool force)
{
    if (model_.CheckBoxBehaviour() && model_.Value())
        state = VisualState::Down;
    if (!force && model_.Caption() == lastCaption_ && state == lastState_)
        return;
    if (model_.Height() == 0 || !drawEnabled_ || !surface_)
        return;
    lastState_ = state;
    lastCaption_ = model_.Caption();
    owedLook_ = State();
    owedLook_->over = owedLook_->over || selected_;
    InvalidateRect(window_, nullptr, FALSE);
}

void TintButton::DrawOwed()
{
    if (!owedLook_ || !surface_ || !drawEnabled_)
        return;
    const TintButtonState look = *owedLook_;
    owedLook_.reset();
    painter_.Paint(model_, look, *surface_, background_ ? &*background_ : nullptr);
}

const TintButtonSurface* TintButton::Surface()
{
    DrawOwed();
    return surface_ ? &*surface_ : nullptr;
}

LRESULT CALLBACK TintButton::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TintButton*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->OnCreate();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<TintButton*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->surface_.reset();
        self->window_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// Initialisation: the surface in the model's font. A surface the platform refuses leaves the
// button undrawn. Nothing is drawn before the window first shows, which draws it.
void TintButton::OnCreate()
{
    colorSource_.SetControl(window_);
    surface_.emplace();
    if (!surface_->Resize(0, 0))
        surface_.reset();
    FontChanged();
    drawEnabled_ = false;
}

LRESULT TintButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; HandleInput(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_SIZE:
        if (!capturingBackground_) {
            // A bitmap the platform refuses leaves the last one, drawn in part.
            if (surface_)
                static_cast<void>(surface_->Resize(LOWORD(lParam), HIWORD(lParam)));
            OnResize();
        }
        return 0;
    case WM_SETFONT:
        // The holder's font changes with its DPI: the caption and the picture follow.
        FontChanged();
        model_.DpiChanged();
        if (drawEnabled_)
            Refresh();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShow();
        else
            drawEnabled_ = false;
        return 0;
    case WM_NCPAINT:
        // No frame or scroll bar to draw: the platform's own handling would still take a
        // device context and run its themed non-client drawing for every button shown.
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && OnSetCursor())
            return TRUE;
        break;
    case WM_DESTROY:
        OnTerminate();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void TintButton::OnShow()
{
    if (model_.ButtonType() == TypeTransparent) {
        PrepareBackground();
        CaptureBackground();
    }
    drawEnabled_ = true;
    model_.ComputeColors();
    Redraw(VisualState::Up, true);
}

void TintButton::OnTerminate()
{
    drawEnabled_ = false;
    background_.reset();
}

void TintButton::OnPaint()
{
    DrawOwed();
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window_, &ps);
    if (dc && surface_) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, surface_->Dc(), r.left, r.top, SRCCOPY);
    }
    EndPaint(window_, &ps);
}

bool TintButton::OnSetCursor()
{
    const std::int16_t shape = static_cast<std::int16_t>(model_.MousePointer());
    if (shape == kPointerCustom) {
        if (!model_.MouseIcon())
            return false;
        SetCursor(model_.MouseIcon()->Icon());
        return true;
    }
    if (shape <= 0 || static_cast<std::size_t>(shape) >= kPointerCursors.size())
        return false;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kPointerCursors[static_cast<std::size_t>(shape)])));
    return true;
}

void TintButton::OnResize()
{
    RECT client{};
    GetClientRect(window_, &client);
    model_.Resize(client.right, client.bottom);
    Reshape();
    // Placed after it was shown, a transparent button needs what lies under its new size.
    RetakeBackground();
    if (model_.Height() != 0)
        Redraw(VisualState::Up, true);
}

void TintButton::RetakeBackground()
{
    const HWND parent = GetParent(window_);
    if (model_.ButtonType() != TypeTransparent || !drawEnabled_ || model_.Height() == 0 || !IsWindowVisible(parent))
        return;
    if (!background_)
        PrepareBackground();
    if (background_ && background_->Resize(model_.Width(), model_.Height())) {
        CaptureBackground();
        Redraw(lastState_, true);
    }
}

} // namespace qm
