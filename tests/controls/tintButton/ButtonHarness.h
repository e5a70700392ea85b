#pragma once

#include "controls/tintButton/TintButton.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace tinttest {

// A visible top-level window painted in one color, to hold buttons under test.
class HostWindow {
public:
    static constexpr COLORREF kBackground = RGB(10, 200, 30);

    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
    HBRUSH brush_ = nullptr;
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

std::unique_ptr<qm::TintButton> NewButton(const HostWindow& host, int width = 100, int height = 24,
                                          qm::ControlSite* site = nullptr);

// A small .ico file of one 32-bit image, every pixel of the given color.
std::vector<std::uint8_t> MakeIco(int size, COLORREF color);

} // namespace tinttest
