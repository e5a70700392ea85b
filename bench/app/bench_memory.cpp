// Memory: peak working set of quillmoor.exe once its main window has painted with 10,000
// entries listed. Beside it, the same figure for quillmoor.exe with no entries of ours and for
// a minimal program, which shows what Wine's own libraries and mappings count in every process.

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
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kEntries = 10000;
constexpr double kMb = 1024.0 * 1024.0;

struct Peak {
    double mb = 0; // median
    int listed = 0;
    int values = 0;
};

std::optional<Peak> MedianPeak(const std::wstring& program, int entries)
{
    const qmbench::PrefixRunEntries seeded(entries);
    if (!seeded.Seeded())
        return std::nullopt;
    std::vector<double> peaks;
    Peak result;
    for (int run = 0; run < kRuns; ++run) {
        const auto paint = qmbench::RunToFirstPaint(program);
        if (!paint || paint->peakWorkingSet == 0)
            return std::nullopt;
        peaks.push_back(static_cast<double>(paint->peakWorkingSet) / kMb);
        result.listed = paint->mostListItems;
    }
    result.mb = qmbench::Median(peaks);
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
        for (DWORD i = 0; i < qm::CountValues(key.Get()); ++i)
            static_cast<void>(qm::EnumValueText(key.Get(), i));
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
    const auto empty = MedianPeak(folder + L"\\..\\quillmoor.exe", 0);
    const auto full = MedianPeak(folder + L"\\..\\quillmoor.exe", kEntries);
    if (!minimal || !empty || !full) {
        qmbench::Print("a program showed no painted window, gave no memory counters, or the key could not be seeded\n");
        return 1;
    }
    qmbench::Print("Peak working set after the first paint (GetProcessMemoryInfo, Wine's view: every mapped page\n"
                   "the process touched, Wine's own libraries included), median of %d runs:\n", kRuns);
    qmbench::Print("  quillmoor.exe, location 1: %5d values, %5d listed: %7.1f MB\n", full->values, full->listed, full->mb);
    qmbench::Print("  quillmoor.exe, location 1: %5d values, %5d listed: %7.1f MB\n", empty->values, empty->listed, empty->mb);
    qmbench::Print("  minimal_window.exe (empty window):                    %7.1f MB\n", minimal->mb);
    qmbench::Print("  listing %d entries adds %.1f MB; quillmoor without them is %.1f MB above the minimal program\n",
        kEntries, full->mb - empty->mb, empty->mb - minimal->mb);
    PrintListingMemoryInProcess();
    return 0;
}
