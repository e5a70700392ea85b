// Start-up: from process start to the main window's first paint, quillmoor.exe with 50
// entries in location 1 against a minimal program that opens an empty window of the same
// client size and against the main window's plain twin made of standard controls. All are
// real processes of the private Wine prefix, started in turn, and report their steps.

#include "BenchSupport.h"
#include "ChildProgram.h"
#include "PrefixRunEntries.h"

#include "app/FrmMain.h"
#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <vector>

namespace {

constexpr int kRuns = 11;
constexpr int kEntries = 50;
constexpr int kShortcutsPerFolder = 20;

struct WindowWork {
    double loadMs = 0;    // FrmMain::Load: the window, its controls and the listing
    double paintMs = 0;   // Show and the paint of the window and every control
    double backupsMs = 0; // the backup folders read again, as Load reads them
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
    work.backupsMs = qmbench::TimeMs([] { static_cast<void>(qm::ListBackups(qm::BackupFolders())); });
    return work;
}

// Medians of one program's runs: the steps it reported and the first paint, in ms from start.
struct StartFigures {
    double main = 0;
    double created = 0;
    double shown = 0;
    double painted = 0;
};

StartFigures MedianFigures(const std::vector<qmbench::FirstPaint>& runs)
{
    std::vector<double> main, created, shown, painted;
    for (const qmbench::FirstPaint& run : runs) {
        for (const qmbench::Step& step : run.steps) {
            if (step.name == "main")
                main.push_back(step.ms);
            else if (step.name == "created")
                created.push_back(step.ms);
            else if (step.name == "shown")
                shown.push_back(step.ms);
        }
        painted.push_back(run.ms);
    }
    return {qmbench::Median(main), qmbench::Median(created), qmbench::Median(shown), qmbench::Median(painted)};
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
    const qmbench::PrefixStartupShortcuts shortcuts(kShortcutsPerFolder);
    if (!entries.Seeded() || !shortcuts.Seeded()) {
        qmbench::Print("could not seed the HKLM Run key and the Startup folders\n");
        return 1;
    }
    const std::wstring folder = qm::App().Folder();
    struct Program {
        const char* label;
        std::wstring path;
        std::vector<qmbench::FirstPaint> runs;
        int listed = 0;
    };
    Program programs[] = {
        {"minimal_window.exe (empty window)", folder + L"\\minimal_window.exe", {}},
        {"plain_window.exe (plain twin)", folder + L"\\plain_window.exe", {}},
        {"quillmoor.exe", folder + L"\\..\\quillmoor.exe", {}},
    };

    // The first start of each is not counted: it reads the executable and its libraries from disk.
    for (int run = -1; run < kRuns; ++run) {
        for (Program& program : programs) {
            auto paint = qmbench::RunToFirstPaint(program.path);
            if (!paint) {
                qmbench::Print("%ls did not show a painted window\n", program.path.c_str());
                return 1;
            }
            program.listed = paint->mostListItems;
            if (run >= 0)
                program.runs.push_back(std::move(*paint));
        }
    }
    const double minimal = MedianFigures(programs[0].runs).painted;
    const double twin = MedianFigures(programs[1].runs).painted;
    qmbench::Print("Start-up to the first complete paint of the main window, median of %d runs each, alternating;\n"
                   "quillmoor.exe lists location 1 (%d values and all users' Startup folder, %d shortcuts in each\n"
                   "Startup folder) and the plain twin its Run key: %d and %d listed. Each step in ms since the\n"
                   "process was started (wWinMain entered, window and controls made, window shown, first complete\n"
                   "paint), the time of each step in brackets:\n",
        kRuns, entries.ValuesInKey(), kShortcutsPerFolder, programs[2].listed, programs[1].listed);
    qmbench::Print("  %-34s %15s %15s %15s %15s %8s %8s\n", "", "wWinMain", "made", "shown", "painted", "/empty", "/twin");
    for (const Program& program : programs) {
        const StartFigures f = MedianFigures(program.runs);
        qmbench::Print("  %-34s %6.1f (%6.1f) %6.1f (%6.1f) %6.1f (%6.1f) %6.1f (%6.1f) %7.2fx %7.2fx\n", program.label,
            f.main, f.main, f.created, f.created - f.main, f.shown, f.shown - f.created, f.painted, f.painted - f.shown,
            f.painted / minimal, f.painted / twin);
    }
    qmbench::Print("  all include Wine's own process start; painted = window visible and no update region left\n");
    qmbench::Print("The main window's own work, timed in-process once over a sandboxed key of %d entries:\n"
                   "  FrmMain::Load %.1f ms + Show and first paint %.1f ms = %.1f ms\n",
        kEntries, window.loadMs, window.paintMs, window.loadMs + window.paintMs);
    qmbench::Print("  of which reading the backup folders: %.2f ms, %.1f %% of quillmoor.exe's start\n", window.backupsMs,
        100.0 * window.backupsMs / MedianFigures(programs[2].runs).painted);
    return 0;
}
