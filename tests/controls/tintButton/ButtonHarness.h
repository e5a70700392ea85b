#pragma once

#include "controls/tintButton/TintButton.h"
#include "host/Handles.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tinttest {

// A visible top-level window painted in one color, to hold buttons under test.
class HostWindow {
public:
    static constexpr COLORREF kBackground = RGB(10, 200, 30);

    HostWindow();
    ~HostWindow() { DestroyWindow(hwnd_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    qm::UniqueBrush brush_;
    HWND hwnd_ = nullptr;
};

// Records what a button tells its holder; design mode can be switched.
class RecordingSite final : public qm::ControlSite {
public:
    bool design = false;
    std::wstring name = L"tintButton1";
    std::vector<std::wstring> notices;

    bool DesignMode() const override { return design; }
    std::wstring DisplayName() const override { return name; }
    void PropertyChanged(std::wstring_view key) override { notices.emplace_back(key); }
};

// A model shown nowhere, on the platform's colors.
struct LoneModel {
    RecordingSite site;
    qm::PlatformColors colors;
    qm::TintButtonModel model{site, colors};
};

// A newly placed button at (10, 10) of the host.
std::unique_ptr<qm::TintButton> NewButton(const HostWindow& host, int width = 100, int height = 24);

// The pixels of the bitmap selected into a device context, as 0x00BBGGRR values.
class SurfacePixels {
public:
    explicit SurfacePixels(HDC dc);
    // Negative coordinates count from the right and bottom edges: (-1, -1) is the last pixel.
    COLORREF At(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> bgra_;
};

// The model painted in the state by a new painter onto a new surface of the model's size, in
// the model's font.
SurfacePixels Paint(const qm::TintButtonModel& model, const qm::TintButtonState& state = {},
                    const qm::TintButtonSurface* background = nullptr);

// An icon of one 32-bit image; pixels are 0xAARRGGBB, top row first; alpha 0 is transparent.
qm::PicturePtr IconOf(int size, const std::vector<std::uint32_t>& argb);

} // namespace tinttest
