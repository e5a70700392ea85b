// Times the drawing of one of the program's buttons: a 123 x 25 TypeHotFlat button with a
// 16 x 16 icon, painted at rest and under the pointer, and the same button with its picture
// alone. Prints the median of many runs of each.

#include "controls/tintButton/TintButton.h"
#include "resources/resource.h"

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
    auto pictureOnly = qm::TintButton::CreateNew(host, 2, RECT{10, 40, 133, 65});
    const auto icon = qm::Picture::FromIconResource(IDI_KEY);
    if (!button || !pictureOnly || !icon) {
        std::fprintf(stderr, "cannot make the buttons or their icon\n");
        return 1;
    }
    for (auto* b : {button.get(), pictureOnly.get()}) {
        qm::TintButtonModel& model = b->Model();
        model.SetButtonType(qm::TypeHotFlat);
        model.SetColorScheme(qm::SchemeCustom);
        model.SetBackColor(0xD8EAE6);
        model.SetBackOver(0xFFC0C0);
        model.SetForeColor(0);
        model.SetForeOver(0xFFFFFF);
        model.SetShowFocusRect(false);
        model.SetMaskColor(0xE0E0E0);
        model.SetFontBold(true);
        model.SetPictureNormal(icon);
    }
    button->Model().SetCaption(L"&Backups");
    pictureOnly->Model().SetCaption(L"");
    Pump();

    const qm::TintButtonModel& model = button->Model();
    qm::TintButtonSurface surface;
    if (!surface.Resize(model.Width(), model.Height()) || !surface.SetFont(model.Font(), qm::kBaseDpi)) {
        std::fprintf(stderr, "cannot make a surface to draw on\n");
        return 1;
    }
    qm::TintButtonPainter painter;
    const auto& placed = model.Placed();
    std::printf("button 123 x 25, TypeHotFlat, icon %d x %d, %d runs each\n", placed.pictureWidth,
                placed.pictureHeight, kRuns);

    const double rest = MedianMicroseconds([&] { painter.Paint(model, {}, surface); });
    const double over = MedianMicroseconds([&] { painter.Paint(model, {.over = true}, surface); });
    const double picture = MedianMicroseconds([&] { painter.Paint(pictureOnly->Model(), {}, surface); });
    Pump();

    std::printf("Paint at rest:                           median %8.1f us\n", rest);
    std::printf("Paint under the pointer:                 median %8.1f us\n", over);
    std::printf("Paint at rest, picture alone (faded):    median %8.1f us\n", picture);
    button.reset();
    pictureOnly.reset();
    DestroyWindow(host);
    return 0;
}
