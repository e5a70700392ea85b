#include "controls/tintButton/TintButton.h"

#include "host/StoredLayout.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

constexpr std::int16_t kPointerCustom = 99;

// The system cursors of the platform's pointer shapes, by shape number (IDC_ARROW is 32512,
// IDC_CROSS 32515 and so on); 0 leaves the pointer to the window class.
constexpr std::array<WORD, 16> kPointerCursors = {
    0, 32512, 32515, 32513, 32512, 32646, 32643, 32645, 32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646,
};

} // namespace

TintButton::TintButton(ControlSite* controlSite) : site(controlSite ? controlSite : &ownSite) {}

TintButton::~TintButton()
{
    if (window)
        DestroyWindow(window);
}

std::unique_ptr<TintButton> TintButton::CreateHidden(HWND parent, int id, ControlSite* controlSite)
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
    std::unique_ptr<TintButton> button(new TintButton(controlSite));
    if (!CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), button.get()))
        return nullptr;
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateNew(HWND parent, int id, const RECT& bounds, ControlSite* controlSite)
{
    auto button = CreateHidden(parent, id, controlSite);
    if (button) {
        button->InitNew();
        button->Place(bounds);
    }
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateLoaded(HWND parent, int id, const RECT& bounds, const PropertyStore& bag,
                                                     ControlSite* controlSite)
{
    auto button = CreateHidden(parent, id, controlSite);
    if (button) {
        button->ReadProperties(bag);
        button->Place(bounds);
    }
    return button;
}

std::unique_ptr<TintButton> TintButton::CreateFromLayout(HWND parent, int id, POINT position,
                                                         const ControlLayout& layout, ControlSite* controlSite)
{
    UINT dpi = parent ? GetDpiForWindow(parent) : 0;
    if (dpi == 0)
        dpi = kBaseDpi;
    const RECT bounds{position.x, position.y, position.x + HimetricToPixels(layout.extentX, dpi),
                      position.y + HimetricToPixels(layout.extentY, dpi)};
    return CreateLoaded(parent, id, bounds, layout.properties, controlSite);
}

void TintButton::Place(const RECT& bounds)
{
    SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
}

LRESULT CALLBACK TintButton::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TintButton*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->OnCreate();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<TintButton*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->ReleaseSurface();
        self->window = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// Initialisation: the surface with the holder's font, drawing enabled.
void TintButton::OnCreate()
{
    font = site->AmbientFont();
    ResizeSurface(0, 0);
    drawEnabled = true;
}

LRESULT TintButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; HandleInput(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_SIZE:
        if (!isCapturing) {
            ResizeSurface(LOWORD(lParam), HIWORD(lParam));
            OnResize();
        }
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShow();
        else
            drawEnabled = false;
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
    return DefWindowProcW(window, message, wParam, lParam);
}

void TintButton::OnShow()
{
    if (prop.ButtonType == TypeTransparent) {
        PrepareBackground();
        CaptureBackground();
    }
    drawEnabled = true;
    ComputeColors();
    Redraw(StateUp, true);
}

void TintButton::OnTerminate()
{
    drawEnabled = false;
    ReleaseBackground();
}

void TintButton::OnPaint()
{
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    if (dc && surfaceDC) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, surfaceDC.get(), r.left, r.top, SRCCOPY);
    }
    EndPaint(window, &ps);
}

bool TintButton::OnSetCursor()
{
    if (pointerShape == kPointerCustom) {
        if (!pointerPicture)
            return false;
        SetCursor(pointerPicture->Icon());
        return true;
    }
    if (pointerShape <= 0 || static_cast<std::size_t>(pointerShape) >= kPointerCursors.size())
        return false;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kPointerCursors[static_cast<std::size_t>(pointerShape)])));
    return true;
}

void TintButton::ResizeSurface(int width, int height)
{
    WindowDC screen(window);
    if (!surfaceDC) {
        surfaceDC.reset(CreateCompatibleDC(screen.get()));
        if (!surfaceDC)
            return;
        ApplyFont();
    }
    // A zero-sized bitmap cannot be selected; the surface keeps at least one pixel.
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), std::max(width, 1), std::max(height, 1)));
    if (!bitmap)
        return;
    const HGDIOBJ previous = SelectObject(surfaceDC.get(), bitmap.get());
    if (!surfaceFirstBitmap)
        surfaceFirstBitmap = previous;
    surfaceBitmap = std::move(bitmap);
}

void TintButton::ReleaseSurface()
{
    if (!surfaceDC)
        return;
    if (surfaceFirstBitmap)
        SelectObject(surfaceDC.get(), surfaceFirstBitmap);
    if (surfaceFirstFont)
        SelectObject(surfaceDC.get(), surfaceFirstFont);
    surfaceFirstBitmap = nullptr;
    surfaceFirstFont = nullptr;
    surfaceDC.reset();
    surfaceBitmap.reset();
    fontHandle.reset();
}

void TintButton::ApplyFont()
{
    UINT dpi = window ? GetDpiForWindow(window) : 0;
    if (dpi == 0)
        dpi = kBaseDpi;
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.size * dpi / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfUnderline = font.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    font.name.copy(lf.lfFaceName, LF_FACESIZE - 1);
    UniqueFont created(CreateFontIndirectW(&lf));
    if (!created || !surfaceDC)
        return;
    const HGDIOBJ previous = SelectObject(surfaceDC.get(), created.get());
    if (!surfaceFirstFont)
        surfaceFirstFont = previous;
    fontHandle = std::move(created);
}

} // namespace qm
