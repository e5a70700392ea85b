#pragma once

#include <windows.h>

namespace qm {

inline constexpr UINT kBaseDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

// Window layouts are stored in twips; 15 twips make one pixel at 96 DPI.
inline int TwipsToPixels(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

inline RECT ToPixels(const TwipsRect& r, UINT dpi)
{
    const int left = TwipsToPixels(r.left, dpi);
    const int top = TwipsToPixels(r.top, dpi);
    return {left, top, left + TwipsToPixels(r.width, dpi), top + TwipsToPixels(r.height, dpi)};
}

// Font height in pixels for a size in hundredths of a point (MS Sans Serif 8.25 pt is 825).
inline int FontHeight(int centiPoints, UINT dpi)
{
    return -MulDiv(centiPoints, static_cast<int>(dpi), 7200);
}

} // namespace qm
