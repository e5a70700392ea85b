#pragma once

#include "ButtonHarness.h"
#include "support/TintButtonProbe.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tinttest {

// The pixels of the bitmap selected into a device context, as 0x00BBGGRR values.
class SurfacePixels {
public:
    explicit SurfacePixels(HDC dc);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Negative coordinates count from the right and bottom edges: (-1, -1) is the last pixel.
    COLORREF At(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> bgra_;
};

// A holder whose DisplayAsDefault the test sets; with flip, the answer changes after each
// question.
class DefaultSite final : public qm::ControlSite {
public:
    mutable bool isDefault = false;
    bool flip = false;

    bool DisplayAsDefault() const override
    {
        const bool answer = isDefault;
        isDefault = flip ? !isDefault : isDefault;
        return answer;
    }
};

// A 32-bit .ico of one image; pixels are 0xAARRGGBB, top row first; alpha 0 is transparent.
std::vector<std::uint8_t> MakeIcoPixels(int size, const std::vector<std::uint32_t>& argb);

} // namespace tinttest
