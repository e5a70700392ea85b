#include "host/Picture.h"
#include "host/Bytes.h"

#include <cstring>

namespace qm {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIconEntrySize = 16;
// Pictures of buttons are small; the limit keeps damaged bytes from asking for gigabytes.
constexpr std::int32_t kMaxSide = 4096;

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A .bmp file of 32-bit pixels, rows bottom-up as the format has them.
std::vector<std::uint8_t> EncodeBmp(int width, int height, const std::uint32_t* topDown)
{
    const auto imageSize = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 4;
    std::vector<std::uint8_t> out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize) + imageSize);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize));
    PutU32(out, static_cast<std::uint32_t>(kInfoHeaderSize));
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, BI_RGB);
    PutU32(out, imageSize);
    for (int i = 0; i < 4; ++i)
        PutU32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            PutU32(out, topDown[static_cast<std::size_t>(y) * width + x] & 0x00FFFFFF);
    }
    return out;
}

// Uncompressed 24- and 32-bit .bmp files, as pictures are stored; pixels come out top-down.
bool DecodeBmp(const std::vector<std::uint8_t>& bytes, int& width, int& height, std::vector<std::uint32_t>& pixels)
{
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const std::uint8_t* info = bytes.data() + kFileHeaderSize;
    const std::uint32_t offset = ReadU32(bytes.data() + 10);
    const std::uint32_t headerSize = ReadU32(info);
    const auto w = static_cast<std::int32_t>(ReadU32(info + 4));
    const auto h = static_cast<std::int32_t>(ReadU32(info + 8));
    const std::uint16_t planes = ReadU16(info + 12);
    const std::uint16_t bits = ReadU16(info + 14);
    const std::uint32_t compression = ReadU32(info + 16);
    if (headerSize < kInfoHeaderSize || headerSize > bytes.size() - kFileHeaderSize || planes != 1 ||
        (bits != 24 && bits != 32) || compression != BI_RGB || w <= 0 || w > kMaxSide || h == 0 ||
        h < -kMaxSide || h > kMaxSide)
        return false;
    const int rows = h < 0 ? -h : h;
    const std::size_t stride = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    if (offset > bytes.size() || stride * rows > bytes.size() - offset)
        return false;
    width = w;
    height = rows;
    pixels.assign(static_cast<std::size_t>(w) * rows, 0);
    const std::size_t step = bits / 8;
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* src = bytes.data() + offset + stride * row;
        const int y = h < 0 ? row : rows - 1 - row;
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src + step * x;
            pixels[static_cast<std::size_t>(y) * w + x] = p[0] | (p[1] << 8) | (p[2] << 16);
        }
    }
    return true;
}

// The first image of an .ico file.
HICON DecodeIco(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kIconDirSize || ReadU16(bytes.data()) != 0 || ReadU16(bytes.data() + 2) != 1)
        return nullptr;
    const std::uint16_t count = ReadU16(bytes.data() + 4);
    if (count == 0 || bytes.size() < kIconDirSize + kIconEntrySize)
        return nullptr;
    const std::uint8_t* entry = bytes.data() + kIconDirSize;
    const std::uint32_t size = ReadU32(entry + 8);
    const std::uint32_t offset = ReadU32(entry + 12);
    if (size < kInfoHeaderSize || offset > bytes.size() || size > bytes.size() - offset)
        return nullptr;
    // The call only reads the image, whatever its parameter's constness says.
    auto* image = const_cast<std::uint8_t*>(bytes.data() + offset);
    return CreateIconFromResourceEx(image, size, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info))
        return size;
    // The icon hands out copies of its bitmaps.
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bm{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
        size = {bm.bmWidth, bm.bmHeight};
    } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof(bm), &bm)) {
        // A monochrome icon keeps its AND and XOR masks stacked in one bitmap.
        size = {bm.bmWidth, bm.bmHeight / 2};
    }
    return size;
}

bool ReadPixels(HBITMAP bitmap, int& width, int& height, std::vector<std::uint32_t>& pixels)
{
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
        bm.bmWidth > kMaxSide || bm.bmHeight > kMaxSide)
        return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    pixels.assign(static_cast<std::size_t>(width) * height, 0);
    BITMAPINFO info = TopDownInfo(width, height);
    WindowDC screen(nullptr);
    return GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) ==
           height;
}

} // namespace

PicturePtr Picture::FromPixels(int width, int height, const std::uint32_t* topDown, PictureData data)
{
    BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return nullptr;
    std::memcpy(bits, topDown, static_cast<std::size_t>(width) * height * sizeof(std::uint32_t));
    GdiFlush();
    std::shared_ptr<Picture> picture(new Picture);
    picture->type_ = Type::Bitmap;
    picture->bitmap_ = std::move(bitmap);
    picture->width_ = width;
    picture->height_ = height;
    picture->data_ = std::move(data);
    return picture;
}

PicturePtr Picture::FromIcon(HICON icon, UniqueIcon owned, PictureData data)
{
    if (!icon)
        return nullptr;
    std::shared_ptr<Picture> picture(new Picture);
    picture->icon_ = icon;
    picture->ownedIcon_ = std::move(owned);
    const SIZE size = IconSize(icon);
    picture->width_ = size.cx;
    picture->height_ = size.cy;
    picture->data_ = std::move(data);
    return picture;
}

PicturePtr Picture::FromData(const PictureData& data)
{
    using T = PictureData::Type;
    using O = PictureData::Origin;
    switch (data.origin) {
    case O::SystemCursor:
        return data.type == T::Icon ? FromSystemCursor(data.resourceId) : nullptr;
    case O::Resource: {
        if (data.type == T::Icon)
            return FromIconResource(data.resourceId);
        UniqueBitmap loaded(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(data.resourceId),
                                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
        if (!ReadPixels(loaded.get(), width, height, pixels))
            return nullptr;
        return FromPixels(width, height, pixels.data(), data);
    }
    case O::Bytes:
        break;
    }
    if (data.type == T::Icon) {
        UniqueIcon icon(DecodeIco(data.bytes));
        const HICON handle = icon.get();
        return FromIcon(handle, std::move(icon), data);
    }
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    if (!DecodeBmp(data.bytes, width, height, pixels))
        return nullptr;
    return FromPixels(width, height, pixels.data(), data);
}

namespace {

// The side of the first image of an icon resource, which is its size at 96 DPI; 0 when the
// group cannot be read.
int FirstImageSide(int id)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* group = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    // A directory of 6 bytes, then entries of 14 whose first byte is the width (0 for 256).
    if (!group || SizeofResource(module, found) < kIconDirSize + 14 || ReadU16(group + 4) == 0)
        return 0;
    return group[kIconDirSize] == 0 ? 256 : group[kIconDirSize];
}

} // namespace

HICON Picture::IconAt(int side) const
{
    if (!ScalesWithDpi() || side == width_ || side <= 0)
        return icon_;
    auto& icon = sizes_[side];
    if (!icon)
        icon.reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(data_.resourceId), IMAGE_ICON, side, side, 0)));
    return icon ? icon.get() : icon_;
}

PicturePtr Picture::FromIconResource(int id)
{
    // Buttons of the same look show one loaded icon, for as long as any of them holds it.
    static std::vector<std::pair<int, std::weak_ptr<const Picture>>> loaded;
    for (const auto& [loadedId, picture] : loaded) {
        if (loadedId == id) {
            if (auto shared = picture.lock())
                return shared;
        }
    }
    PictureData data{PictureData::Type::Icon, PictureData::Origin::Resource, id, {}};
    const int side = FirstImageSide(id);
    UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0)));
    const HICON handle = icon.get();
    PicturePtr picture = FromIcon(handle, std::move(icon), std::move(data));
    if (picture) {
        std::erase_if(loaded, [](const auto& entry) { return entry.second.expired(); });
        loaded.emplace_back(id, picture);
    }
    return picture;
}

PicturePtr Picture::FromSystemCursor(int id)
{
    PictureData data{PictureData::Type::Icon, PictureData::Origin::SystemCursor, id, {}};
    // The system's shared cursors must never be destroyed.
    return FromIcon(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)), UniqueIcon(), std::move(data));
}

PicturePtr Picture::FromBitmap(HBITMAP bitmap)
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    if (!ReadPixels(bitmap, width, height, pixels))
        return nullptr;
    PictureData data{PictureData::Type::Bitmap, PictureData::Origin::Bytes, 0, EncodeBmp(width, height, pixels.data())};
    return FromPixels(width, height, pixels.data(), std::move(data));
}

std::vector<std::uint32_t> Picture::Pixels() const
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    if (type_ != Type::Bitmap || !ReadPixels(bitmap_.get(), width, height, pixels))
        return {};
    for (auto& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}

} // namespace qm
