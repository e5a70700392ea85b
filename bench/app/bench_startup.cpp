// Start-up: from process start to the main window's first paint, quillmoor.exe with 50
// entries in location 1 against a minimal program that opens an empty window of the same
// client size. Both are real processes of the private Wine prefix, started alternately.

#include "BenchSupport.h"
#include "ChildProgram.h"
#include "PrefixRunEntries.h"

#include "app/FrmMain.h"
#include "host/Application.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <vector>

namespace {

constexpr int kRuns = 11;
constexpr int kEntries = 50;

struct WindowWork {
    double loadMs = 0;  // FrmMain::Load: the window, its controls and the listing
    double paintMs = 0; // Show and the paint of the window and every control
};

// The main window's own share of a start-up, timed inside this process (whose libraries are
// already loaded) over a sandboxed key holding the same number of entries: the first window
// of the process, as in a fresh start.
WindowWork TimeWindowInProcess()
{
    qmtest::RegistrySandbox sandbox(L"Bench.Startup");
    qmtest::ScriptedHost host;
    qmbench::SeedValues(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kEntries);
    qm::FrmMain main;
    WindowWork work;
    work.loadMs = qmbench::TimeMs([&] { static_cast<void>(main.Load()); });
    work.paintMs = qmbench::TimeMs([&] {
        main.Show();
        RedrawWindow(main.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    return work;
}

} // namespace

int wmain()
{
    if (!qmbench::UnderWine()) {
        qmbench::Print("bench_startup seeds the HKLM Run key and so runs only in the build's private Wine prefix\n");
        return 1;
    }
    const WindowWork window = TimeWindowInProcess();
    const qmbench::PrefixRunEntries entries(kEntries);
    if (!entries.Seeded()) {
        qmbench::Print("could not seed the HKLM Run key\n");
        return 1;
    }
    const std::wstring folder = qm::App().Folder();
    const std::wstring programs[] = {folder + L"\\minimal_window.exe", folder + L"\\..\\quillmoor.exe"};

    std::vector<double> times[2];
    int listed = 0;
    // The first start of each is not counted: it reads the executable and its libraries from disk.
    for (int run = -1; run < kRuns; ++run) {
        for (int p = 0; p < 2; ++p) {
            const auto paint = qmbench::RunToFirstPaint(programs[p]);
            if (!paint) {
                qmbench::Print("%ls did not show a painted window\n", programs[p].c_str());
                return 1;
            }
            if (run >= 0)
                times[p].push_back(paint->ms);
            if (p == 1)
                listed = paint->mostListItems;
        }
    }
    const double minimal = qmbench::Median(times[0]);
    const double quillmoor = qmbench::Median(times[1]);
    qmbench::Print("Start-up to the first complete paint of the main window, median of %d runs each, alternating:\n", kRuns);
    qmbench::Print("  minimal_window.exe (empty 549 x 400 window):              %8.1f ms\n", minimal);
    qmbench::Print("  quillmoor.exe (location 1: %d values, %d listed):         %8.1f ms\n", entries.ValuesInKey(), listed,
        quillmoor);
    qmbench::Print("  ratio: %.2fx\n", quillmoor / minimal);
    qmbench::Print("  both include Wine's own process start; painted = window visible and no update region left\n");
    qmbench::Print("The main window's own work, timed in-process once over a sandboxed key of %d entries:\n"
                   "  FrmMain::Load %.1f ms + Show and first paint %.1f ms = %.1f ms, against a difference of %.1f ms\n",
        kEntries, window.loadMs, window.paintMs, window.loadMs + window.paintMs, quillmoor - minimal);
    return 0;
}
