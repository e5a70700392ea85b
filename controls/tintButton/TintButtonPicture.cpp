#include "controls/tintButton/TintButtonDrawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qm {

namespace {

// The darkest pixels a darkOnly silhouette takes: red + green + blue at most this.
constexpr int kDarkLimit = 384;

struct PixelRule {
    std::int32_t mask = -1; // -1: nothing is transparent
    bool hasColor = false;
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    bool darkOnly = false;
    bool greyscale = false;
    bool faded = false;
};

// 24 bits per pixel, bottom-up, rows padded to four bytes.
BITMAPINFO Rgb24Info(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::size_t Stride(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

std::uint8_t Grey(int red, int green, int blue)
{
    // Two roundings, each half to even: of the red share, then of the sum.
    const double r3 = std::nearbyint(0.3 * red);
    return static_cast<std::uint8_t>(std::nearbyint(r3 + 0.59 * green + 0.11 * blue));
}

// One pass over the picture's pixels (blue, green, red), leaving the result in out, which
// holds the background.
void Blend(const std::uint8_t* picture, std::uint8_t* out, int width, int height, std::size_t stride,
           const PixelRule& rule)
{
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* p = picture + stride * row;
        std::uint8_t* o = out + stride * row;
        for (int col = 0; col < width; ++col, p += 3, o += 3) {
            const int blue = p[0];
            const int green = p[1];
            const int red = p[2];
            if (red + 256 * green + 65536 * blue == rule.mask)
                continue;
            if (rule.hasColor) {
                if (rule.darkOnly && red + green + blue > kDarkLimit)
                    continue;
                o[0] = rule.blue;
                o[1] = rule.green;
                o[2] = rule.red;
            } else if (rule.greyscale) {
                const std::uint8_t g = Grey(red, green, blue);
                o[0] = g;
                o[1] = g;
                o[2] = g;
            } else if (rule.faded) {
                o[0] = static_cast<std::uint8_t>((2 * blue + o[0]) / 3);
                o[1] = static_cast<std::uint8_t>((2 * green + o[1]) / 3);
                o[2] = static_cast<std::uint8_t>((2 * red + o[2]) / 3);
            } else {
                o[0] = p[0];
                o[1] = p[1];
                o[2] = p[2];
            }
        }
    }
}

// The w x h block at (x, y) of the bitmap selected into the memory context dc, as 24-bit
// bottom-up rows; what lies outside the bitmap reads as black. The bitmap is read where it
// is: a copy through another memory context costs a context and a selection, which under
// some platforms take longer than all the rest of the drawing.
[[nodiscard]] bool ReadBlock(HDC dc, int x, int y, int w, int h, std::vector<std::uint8_t>& block)
{
    const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm))
        return false;
    block.assign(Stride(w) * static_cast<std::size_t>(h), 0);
    const int top = std::max(y, 0);
    const int bottom = std::min(y + h, static_cast<int>(bm.bmHeight));
    const int left = std::max(x, 0);
    const int right = std::min(x + w, static_cast<int>(bm.bmWidth));
    if (top >= bottom || left >= right)
        return true;
    const int lines = bottom - top;
    const std::size_t rowStride = Stride(bm.bmWidth);
    std::vector<std::uint8_t> rows(rowStride * static_cast<std::size_t>(lines));
    BITMAPINFO info = Rgb24Info(bm.bmWidth, bm.bmHeight);
    // Scan lines count from the bitmap's bottom row.
    if (GetDIBits(dc, bitmap, static_cast<UINT>(bm.bmHeight - bottom), static_cast<UINT>(lines), rows.data(), &info,
                  DIB_RGB_COLORS) != lines)
        return false;
    for (int row = top; row < bottom; ++row) {
        const std::uint8_t* from = rows.data() + rowStride * static_cast<std::size_t>(bottom - 1 - row) + left * 3;
        std::uint8_t* to = block.data() + Stride(w) * static_cast<std::size_t>(y + h - 1 - row) + (left - x) * 3;
        std::copy(from, from + (right - left) * 3, to);
    }
    return true;
}

} // namespace

// The picture's pixels as a block of w x h: a bitmap copied from its top-left corner, an
// icon drawn at its own size over the fill color, so that what it leaves uncovered counts
// as transparent. Kept for the next call, which usually draws the same picture again.
const std::uint8_t* TintButtonPainter::Drawing::PictureBlock(const PicturePtr& picture, int w, int h, Color fill)
{
    Memory::PictureCache& cache = memory_.picture;
    const bool icon = picture->GetType() != Picture::Type::Bitmap;
    if (cache.picture == picture && cache.width == w && cache.height == h && (!icon || cache.fill == fill))
        return cache.pixels.data();
    cache.picture.reset();

    const BITMAPINFO info = Rgb24Info(w, h);
    void* bits = nullptr;
    UniqueMemoryDC work(CreateCompatibleDC(dc_));
    UniqueBitmap block(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!work || !block || !bits)
        return nullptr;
    {
        SelectGuard selection(work.get(), block.get());
        if (icon) {
            UniqueBrush brush(CreateSolidBrush(fill));
            const RECT all{0, 0, w, h};
            FillRect(work.get(), &all, brush.get());
            // A resource icon is drawn at the size placed for the DPI; any other at its own.
            const bool scaled = picture->ScalesWithDpi();
            DrawIconEx(work.get(), 0, 0, picture->IconAt(w), scaled ? w : picture->Width(), scaled ? h : picture->Height(), 0,
                nullptr, DI_NORMAL);
        } else {
            UniqueMemoryDC source(CreateCompatibleDC(dc_));
            if (!source)
                return nullptr;
            SelectGuard sourceSelection(source.get(), picture->Bitmap());
            BitBlt(work.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
        }
    }
    GdiFlush();
    const auto* first = static_cast<const std::uint8_t*>(bits);
    cache.pixels.assign(first, first + Stride(w) * static_cast<std::size_t>(h));
    cache.picture = picture;
    cache.width = w;
    cache.height = h;
    cache.fill = fill;
    return cache.pixels.data();
}

// Two blocks of pixels in memory, the background read from the surface and the picture's,
// blended in one pass and written back in one piece.
void TintButtonPainter::Drawing::RenderPicture(int x, int y, int w, int h, const PicturePtr& picture, Color mask,
                                               std::int32_t color, bool darkOnly, bool greyscale, bool faded)
{
    if (!picture || w == 0 || h == 0)
        return;
    // The fill of an icon is the color its pixels are compared with; for a system-color
    // MaskColor that is the translation rather than the reference itself.
    const std::uint8_t* pictureBits = PictureBlock(picture, w, h, mask);
    std::vector<std::uint8_t> back;
    if (!pictureBits || !ReadBlock(dc_, x, y, w, h, back))
        return;

    PixelRule rule;
    rule.mask = model_.UseMaskColor() ? static_cast<std::int32_t>(mask) : -1;
    rule.hasColor = color >= 0;
    rule.red = GetRValue(color);
    rule.green = GetGValue(color);
    rule.blue = GetBValue(color);
    rule.darkOnly = darkOnly;
    rule.greyscale = greyscale;
    rule.faded = faded;
    Blend(pictureBits, back.data(), w, h, Stride(w), rule);
    const BITMAPINFO info = Rgb24Info(w, h);
    SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h),
                      back.data(), &info, DIB_RGB_COLORS);
}

} // namespace qm
