#pragma once

#include "host/Handles.h"
#include "host/PropertyStore.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace qm {

// An immutable picture of a control property: an icon (or cursor) or a bitmap, with the
// stored form it was made from, so that saving a layout writes back what loading read.
class Picture {
public:
    // The numbering of the platform's picture objects; everything that is not a bitmap is
    // drawn as an icon.
    enum class Type { Bitmap = 1, Icon = 3 };

    // Nothing when the resource is missing or the bytes are not a picture of the type.
    static std::shared_ptr<const Picture> FromData(const PictureData& data);
    static std::shared_ptr<const Picture> FromIconResource(int id);
    static std::shared_ptr<const Picture> FromSystemCursor(int id);
    // Copies the bitmap's pixels; the picture is then stored as its bytes.
    static std::shared_ptr<const Picture> FromBitmap(HBITMAP bitmap);

    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Type GetType() const { return type_; }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    HICON Icon() const { return icon_; }
    // An icon of the program's own resources is drawn afresh at each size (at 96 DPI it has
    // its first image's size, and grows with the DPI); any other picture keeps its pixels.
    bool ScalesWithDpi() const { return data_.origin == PictureData::Origin::Resource && type_ == Type::Icon; }
    // The icon at a side of that many pixels: its own image of that size where the resource
    // has one; Icon() for a picture that does not scale.
    HICON IconAt(int side) const;
    int Width() const { return width_; } // pixels
    int Height() const { return height_; }
    const PictureData& Data() const { return data_; }

    // The pixels as 0x00RRGGBB values, top row first (bitmaps only; empty for icons).
    std::vector<std::uint32_t> Pixels() const;

private:
    Picture() = default;
    static std::shared_ptr<const Picture> FromPixels(int width, int height, const std::uint32_t* topDown, PictureData data);
    // owned holds the icon when the picture made it; shared icons belong to the system.
    static std::shared_ptr<const Picture> FromIcon(HICON icon, UniqueIcon owned, PictureData data);

    Type type_ = Type::Icon;
    UniqueBitmap bitmap_;
    HICON icon_ = nullptr;
    UniqueIcon ownedIcon_;
    // Other sizes of a resource icon, loaded when first drawn.
    mutable std::map<int, UniqueIcon> sizes_;
    int width_ = 0;
    int height_ = 0;
    PictureData data_;
};

using PicturePtr = std::shared_ptr<const Picture>;

} // namespace qm
