#include "RenderHarness.h"

namespace tinttest {

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

std::vector<std::uint8_t> MakeIcoPixels(int size, const std::vector<std::uint32_t>& argb)
{
    const auto s = static_cast<std::uint32_t>(size);
    const std::uint32_t maskStride = (s + 31) / 32 * 4;
    std::vector<std::uint8_t> ico;
    auto put = [&ico](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            ico.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    // Directory and its one entry, then the image header with the doubled height icons have.
    put(0, 2), put(1, 2), put(1, 2), put(s, 1), put(s, 1), put(0, 2), put(1, 2), put(32, 2);
    put(40 + s * s * 4 + maskStride * s, 4), put(22, 4);
    put(40, 4), put(s, 4), put(2 * s, 4), put(1, 2), put(32, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    // Rows bottom-up, then the AND mask with a bit set for every transparent pixel.
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
            put(argb[static_cast<std::size_t>(y * size + x)], 4);
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if ((argb[static_cast<std::size_t>(y * size + x)] >> 24) == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        ico.insert(ico.end(), row.begin(), row.end());
    }
    return ico;
}

} // namespace tinttest
