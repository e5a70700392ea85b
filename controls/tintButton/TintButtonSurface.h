#pragma once

#include "host/Handles.h"
#include "host/PropertyStore.h"
#include "host/StoredLayout.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

namespace qm {

// The GDI font of a stored font description at a DPI.
[[nodiscard]] UniqueFont CreateFontFor(const FontDesc& font, UINT dpi);

// What a button is drawn onto and its window painted from: a bitmap and a font selected into
// a memory context of the screen's kind. The context gets back what it first held before
// bitmap, font and context go.
class TintButtonSurface {
public:
    TintButtonSurface() = default;
    TintButtonSurface(const TintButtonSurface&) = delete;
    TintButtonSurface& operator=(const TintButtonSurface&) = delete;

    // A new bitmap of width x height, at least one pixel each way (a bitmap of no size cannot
    // be selected), unless the bitmap has that size already; the first call makes the memory
    // context. False, keeping what there was, when the platform refuses.
    [[nodiscard]] bool Resize(int width, int height);
    // The font captions are drawn and measured in. False, keeping the last font, when the
    // platform refuses.
    [[nodiscard]] bool SetFont(const FontDesc& font, UINT dpi);

    HDC Dc() const { return dc_.get(); }
    UINT Dpi() const { return dpi_; }

    // Moves the rectangle's right and bottom to those of the caption wrapped within it; "&"
    // marks the access key and "&&" stands for one.
    void MeasureCaption(std::wstring_view caption, RECT& rect) const;
    // A bevel draws on while its pens change, so its last pen stays selected until the next
    // one replaces it; the surface owns it meanwhile.
    void KeepPenSelected(UniquePen pen);

private:
    // Declared first, so that the context goes before the pen selected into it.
    UniquePen pen_;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    SIZE bitmapSize_{};
    // Shared by the surfaces of every button in the same font.
    std::shared_ptr<const UniqueFont> font_;
    // Declared last: put back what the context first held before bitmap and font go.
    std::optional<SelectGuard> bitmapSelection_;
    std::optional<SelectGuard> fontSelection_;
    UINT dpi_ = kBaseDpi;
};

} // namespace qm
