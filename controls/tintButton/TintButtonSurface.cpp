#include "controls/tintButton/TintButtonSurface.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qm {

UniqueFont CreateFontFor(const FontDesc& font, UINT dpi)
{
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.size * dpi / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfUnderline = font.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    font.name.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&lf));
}

namespace {

// One font for every surface of the same font at the same DPI, for as long as any holds it.
std::shared_ptr<const UniqueFont> SharedFontFor(const FontDesc& font, UINT dpi)
{
    struct Made {
        FontDesc font;
        UINT dpi;
        std::weak_ptr<const UniqueFont> handle;
    };
    static std::vector<Made> made;
    for (const Made& m : made) {
        if (m.dpi == dpi && m.font == font) {
            if (auto shared = m.handle.lock())
                return shared;
        }
    }
    auto created = std::make_shared<const UniqueFont>(CreateFontFor(font, dpi));
    if (!*created)
        return nullptr;
    std::erase_if(made, [](const Made& m) { return m.handle.expired(); });
    made.push_back({font, dpi, created});
    return created;
}

} // namespace

bool TintButtonSurface::Resize(int width, int height)
{
    // The window's first size, taken while it is made, is often the one it has already.
    if (bitmap_ && bitmapSize_.cx == std::max(width, 1) && bitmapSize_.cy == std::max(height, 1))
        return true;
    WindowDC screen(nullptr);
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(screen.get()));
        if (!dc_)
            return false;
    }
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), std::max(width, 1), std::max(height, 1)));
    if (!bitmap)
        return false;
    // Putting the first bitmap back frees the one in use, which goes after the new one is in.
    bitmapSelection_.reset();
    bitmapSelection_.emplace(dc_.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    bitmapSize_ = {std::max(width, 1), std::max(height, 1)};
    return true;
}

bool TintButtonSurface::SetFont(const FontDesc& font, UINT dpi)
{
    auto created = SharedFontFor(font, dpi);
    if (!created || !dc_)
        return false;
    fontSelection_.reset();
    fontSelection_.emplace(dc_.get(), created->get());
    font_ = std::move(created);
    dpi_ = dpi;
    return true;
}

void TintButtonSurface::MeasureCaption(std::wstring_view caption, RECT& rect) const
{
    DrawTextW(dc_.get(), caption.data(), static_cast<int>(caption.size()), &rect, DT_CALCRECT | DT_WORDBREAK);
}

void TintButtonSurface::KeepPenSelected(UniquePen pen)
{
    SelectObject(dc_.get(), pen.get());
    // The pen it replaced is out of the context now and goes.
    pen_ = std::move(pen);
}

} // namespace qm
