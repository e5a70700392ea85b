#include "ButtonHarness.h"
#include "host/Bytes.h"

namespace tinttest {

namespace {

using qm::PutU16;
using qm::PutU32;

constexpr const wchar_t* kHostClass = L"QuillmoorTintButtonTestHost";

} // namespace

HostWindow::HostWindow()
{
    brush_ = CreateSolidBrush(kBackground);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kHostClass, L"Host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 400, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

HostWindow::~HostWindow()
{
    DestroyWindow(hwnd_);
    DeleteObject(brush_);
}

std::unique_ptr<qm::TintButton> NewButton(const HostWindow& host, int width, int height, qm::ControlSite* site)
{
    return qm::TintButton::CreateNew(host.hwnd(), 100, RECT{10, 10, 10 + width, 10 + height}, site);
}

std::vector<std::uint8_t> MakeIco(int size, COLORREF color)
{
    const auto pixels = static_cast<std::uint32_t>(size * size);
    const std::uint32_t maskStride = ((size + 31) / 32) * 4;
    const std::uint32_t imageSize = 40 + pixels * 4 + maskStride * size;
    std::vector<std::uint8_t> ico;
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, 1);
    ico.push_back(static_cast<std::uint8_t>(size));
    ico.push_back(static_cast<std::uint8_t>(size));
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, 32);
    PutU32(ico, imageSize);
    PutU32(ico, 22);
    PutU32(ico, 40);
    PutU32(ico, static_cast<std::uint32_t>(size));
    PutU32(ico, static_cast<std::uint32_t>(size * 2));
    PutU16(ico, 1);
    PutU16(ico, 32);
    for (int i = 0; i < 6; ++i)
        PutU32(ico, 0);
    const std::uint32_t bgra = GetBValue(color) | (GetGValue(color) << 8) | (GetRValue(color) << 16) | 0xFF000000u;
    for (std::uint32_t i = 0; i < pixels; ++i)
        PutU32(ico, bgra);
    ico.insert(ico.end(), maskStride * size, 0);
    return ico;
}

} // namespace tinttest
