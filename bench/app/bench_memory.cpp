// Memory: peak working set of quillmoor.exe once its main window has painted with 10,000
// entries listed. Beside it, the same figure for quillmoor.exe with no entries of ours, for
// the main window's plain twin made of standard controls, and for a minimal program, which
// shows what Wine's own libraries and mappings count in every process; and the working set of
// each after each step of its start.

#include "BenchSupport.h"
#include "ChildProgram.h"
#include "PrefixRunEntries.h"

#include "app/FrmMain.h"
#include "host/Application.h"
#include "registry/RegistryAccess.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <psapi.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kEntries = 10000;
constexpr double kMb = 1024.0 * 1024.0;

struct Peak {
    double mb = 0; // median
    // Medians of the working set after each reported step: wWinMain entered, made, shown.
    double mainMb = 0;
    double createdMb = 0;
    double shownMb = 0;
    int listed = 0;
    int values = 0;
};

std::optional<Peak> MedianPeak(const std::wstring& program, int entries)
{
    const qmbench::PrefixRunEntries seeded(entries);
    if (!seeded.Seeded())
        return std::nullopt;
    std::vector<double> peaks, main, created, shown;
    Peak result;
    for (int run = 0; run < kRuns; ++run) {
        const auto paint = qmbench::RunToFirstPaint(program);
        if (!paint || paint->peakWorkingSet == 0)
            return std::nullopt;
        peaks.push_back(static_cast<double>(paint->peakWorkingSet) / kMb);
        for (const qmbench::Step& step : paint->steps) {
            auto& samples = step.name == "main" ? main : step.name == "created" ? created : shown;
            samples.push_back(static_cast<double>(step.workingSet) / kMb);
        }
        result.listed = paint->mostListItems;
    }
    result.mb = qmbench::Median(peaks);
    result.mainMb = qmbench::Median(main);
    result.createdMb = qmbench::Median(created);
    result.shownMb = qmbench::Median(shown);
    result.values = seeded.ValuesInKey();
    return result;
}

double PrivateMb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PagefileUsage) / kMb;
}

// Where a listing's memory goes, in this process over a sandboxed key: reading every value
// through the registry layer as ListLocation does, then ListLocation itself, twice.
void PrintListingMemoryInProcess()
{
    qmtest::RegistrySandbox sandbox(L"Bench.Memory");
    qmtest::ScriptedHost host;
    qm::FrmMain main;
    if (!main.Load() || !qmbench::SeedValues(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kEntries))
        return;
    double before = PrivateMb();
    {
        const qm::RegKey key = qm::OpenKeyForRead(HKEY_LOCAL_MACHINE, qmtest::kRunKey);
        static_cast<void>(qm::ReadValueTexts(key.Get()));
    }
    const double read = PrivateMb() - before;
    before = PrivateMb();
    main.ListLocation(1);
    const double first = PrivateMb() - before;
    before = PrivateMb();
    main.ListLocation(1);
    const double second = PrivateMb() - before;
    qmbench::Print("In-process, private bytes over a sandboxed key of %d values: reading them all %+.1f MB,\n"
                   "ListLocation %+.1f MB, ListLocation again (lists cleared and refilled) %+.1f MB\n",
        kEntries, read, first, second);
}

} // namespace

int wmain()
{
    if (!qmbench::UnderWine()) {
        qmbench::Print("bench_memory seeds the HKLM Run key and so runs only in the build's private Wine prefix\n");
        return 1;
    }
    const std::wstring folder = qm::App().Folder();
    const auto minimal = MedianPeak(folder + L"\\minimal_window.exe", 0);
    const auto twin = MedianPeak(folder + L"\\plain_window.exe", 0);
    const auto empty = MedianPeak(folder + L"\\..\\quillmoor.exe", 0);
    const auto full = MedianPeak(folder + L"\\..\\quillmoor.exe", kEntries);
    if (!minimal || !twin || !empty || !full) {
        qmbench::Print("a program showed no painted window, gave no memory counters, or the key could not be seeded\n");
        return 1;
    }
    qmbench::Print("Working set (GetProcessMemoryInfo, Wine's view: every mapped page the process touched, Wine's\n"
                   "own libraries included) after each step of the start, and its peak after the first paint,\n"
                   "median of %d runs, in MB:\n", kRuns);
    qmbench::Print("  %-52s %9s %9s %9s %11s\n", "", "wWinMain", "made", "shown", "peak/paint");
    auto row = [](const std::string& label, const Peak& p) {
        qmbench::Print("  %-52s %9.1f %9.1f %9.1f %11.1f\n", label.c_str(), p.mainMb, p.createdMb, p.shownMb, p.mb);
    };
    row("minimal_window.exe (empty window)", *minimal);
    row("plain_window.exe (plain twin)", *twin);
    for (const Peak* p : {&*empty, &*full})
        row("quillmoor.exe, location 1: " + std::to_string(p->values) + " values, " + std::to_string(p->listed) + " listed", *p);
    qmbench::Print("  quillmoor without entries is %+.1f MB from the minimal program and %+.1f MB from the plain twin;\n"
                   "  with %d entries listed it is %+.1f MB from the minimal program\n",
        empty->mb - minimal->mb, empty->mb - twin->mb, kEntries, full->mb - minimal->mb);
    PrintListingMemoryInProcess();
    return 0;
}
