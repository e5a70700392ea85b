// Times the drawing of one of the program's buttons: a 123 x 25 TypeHotFlat button with a
// 16 x 16 icon, redrawn at rest and under the pointer, and the picture pass on its own.
// Prints the median of many runs of each.

#include "controls/tintButton/TintButton.h"
#include "resources/resource.h"
#include "support/TintButtonProbe.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 5000;
constexpr int kWarmUp = 200;

double MedianMicroseconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kWarmUp; ++i)
        work();
    std::vector<double> times;
    times.reserve(kRuns);
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                        static_cast<double>(frequency.QuadPart));
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

int main()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuillmoorButtonBench";
    RegisterClassExW(&wc);
    const HWND host = CreateWindowExW(0, wc.lpszClassName, L"Bench", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 300, 100,
                                      nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(host, SW_SHOWNOACTIVATE);

    auto button = qm::TintButton::CreateNew(host, 1, RECT{10, 10, 133, 35});
    const auto icon = qm::Picture::FromIconResource(IDI_KEY);
    if (!button || !icon) {
        std::fprintf(stderr, "cannot make the button or its icon\n");
        return 1;
    }
    button->SetButtonType(qm::TypeHotFlat);
    button->SetColorScheme(qm::SchemeCustom);
    button->SetBackColor(0xD8EAE6);
    button->SetBackOver(0xFFC0C0);
    button->SetForeColor(0);
    button->SetForeOver(0xFFFFFF);
    button->SetShowFocusRect(false);
    button->SetMaskColor(0xE0E0E0);
    button->SetFontBold(true);
    button->SetPictureNormal(icon);
    button->SetCaption(L"&Backups");
    Pump();

    const auto& layout = button->Layout();
    std::printf("button 123 x 25, TypeHotFlat, icon %d x %d, %d runs each\n", layout.pictureWidth,
                layout.pictureHeight, kRuns);

    const double rest = MedianMicroseconds([&] { button->Redraw(qm::StateUp, true); });
    qm::TintButtonProbe::SetOver(*button, true);
    const double over = MedianMicroseconds([&] { button->Redraw(qm::StateUp, true); });
    qm::TintButtonProbe::SetOver(*button, false);
    const double picture = MedianMicroseconds([&] {
        button->RenderPicture(button->Surface(), layout.pictureLeft, layout.pictureTop, layout.pictureWidth,
                              layout.pictureHeight, icon, button->Colors().MaskRGB, qm::TintButton::kNoColor, false,
                              false, true);
    });
    Pump();

    std::printf("Redraw(StateUp, True) at rest:          median %8.1f us\n", rest);
    std::printf("Redraw(StateUp, True) under the pointer: median %8.1f us\n", over);
    std::printf("RenderPicture (16 x 16, faded):          median %8.1f us\n", picture);
    button.reset();
    DestroyWindow(host);
    return 0;
}
