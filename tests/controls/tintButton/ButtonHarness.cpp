#include "ButtonHarness.h"

#include "host/Bytes.h"

namespace tinttest {

HostWindow::HostWindow() : brush_(CreateSolidBrush(kBackground))
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuillmoorTintButtonTestHost";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 400, 300, nullptr,
                            nullptr, wc.hInstance, nullptr);
    SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_.get()));
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

std::unique_ptr<qm::TintButton> NewButton(const HostWindow& host, int width, int height)
{
    return qm::TintButton::CreateNew(host.hwnd(), 100, RECT{10, 10, 10 + width, 10 + height});
}

SurfacePixels::SurfacePixels(HDC dc)
{
    const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm))
        return;
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bgra_.assign(static_cast<std::size_t>(width_) * height_, 0);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height_), bgra_.data(), &info, DIB_RGB_COLORS);
}

COLORREF SurfacePixels::At(int x, int y) const
{
    x += x < 0 ? width_ : 0;
    y += y < 0 ? height_ : 0;
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const std::uint32_t p = bgra_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

SurfacePixels Paint(const qm::TintButtonModel& model, const qm::TintButtonState& state,
                    const qm::TintButtonSurface* background)
{
    qm::TintButtonSurface surface;
    if (!surface.Resize(model.Width(), model.Height()) || !surface.SetFont(model.Font(), qm::kBaseDpi))
        return SurfacePixels(nullptr);
    qm::TintButtonPainter().Paint(model, state, surface, background);
    return SurfacePixels(surface.Dc());
}

qm::PicturePtr IconOf(int size, const std::vector<std::uint32_t>& argb)
{
    const auto s = static_cast<std::uint32_t>(size);
    const std::uint32_t maskStride = (s + 31) / 32 * 4;
    std::vector<std::uint8_t> ico;
    // Directory and its one entry, then the image header with the doubled height icons have.
    for (const std::uint16_t v : {0, 1, 1})
        qm::PutU16(ico, v);
    ico.push_back(static_cast<std::uint8_t>(s));
    ico.push_back(static_cast<std::uint8_t>(s));
    for (const std::uint16_t v : {0, 1, 32})
        qm::PutU16(ico, v);
    for (const std::uint32_t v : {40 + s * s * 4 + maskStride * s, 22u, 40u, s, 2 * s})
        qm::PutU32(ico, v);
    qm::PutU16(ico, 1);
    qm::PutU16(ico, 32);
    for (int i = 0; i < 6; ++i)
        qm::PutU32(ico, 0);
    // Rows bottom-up, then the AND mask with a bit set for every transparent pixel.
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
            qm::PutU32(ico, argb[static_cast<std::size_t>(y * size + x)]);
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if ((argb[static_cast<std::size_t>(y * size + x)] >> 24) == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        ico.insert(ico.end(), row.begin(), row.end());
    }
    return qm::Picture::FromData({qm::PictureData::Type::Icon, qm::PictureData::Origin::Bytes, 0, ico});
}

} // namespace tinttest
