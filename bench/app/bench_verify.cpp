// Signature checks: 200 program files (copies of the signed and of the unsigned test fixture,
// each a file of its own) checked by a bare WinVerifyTrust loop on one thread and on two, by the
// window's signature worker (and again from its cache), and by quillmoor-cli.exe list --verify
// on one and on two processors, a process of its own over entries in the prefix's HKCU Run key,
// with the parts of the command line's time taken apart: its process start, the listing, and
// the first trust check of a process. The runs alternate, so that a machine busy with other
// work slows each kind alike. Then quillmoor.exe's start to first paint with the same files as
// HKLM Run entries.
// The fixtures come from tests/scripts/signed-fixtures.sh, which scripts/bench.sh runs first.

#include "BenchSupport.h"
#include "ChildProgram.h"

#include "host/Application.h"
#include "host/Files.h"
#include "host/Handles.h"
#include "launch/SignatureWorker.h"
#include "support/RegistrySandbox.h"

#include <wintrust.h>
#include <softpub.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int kFiles = 200;
constexpr int kRuns = 7;
constexpr UINT kCheckedMessage = WM_APP + 1;
constexpr wchar_t kEntryPrefix[] = L"QmBenchVerify ";

using UniqueWindow = qm::UniqueHandle<HWND, qm::NullIsInvalid<HWND, DestroyWindow>>;

std::wstring FixturePath(const wchar_t* name)
{
    return qm::App().Folder() + L"\\..\\tests\\signature-fixtures\\" + name;
}

std::wstring ScratchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"QmBenchVerify";
}

void RemoveScratch(const std::wstring& folder)
{
    for (const std::wstring& file : qm::FindFiles(folder + L"\\*"))
        static_cast<void>(qm::DeleteFileAt(folder + L"\\" + file));
    RemoveDirectoryW(folder.c_str());
}

// Every other file a copy of the signed fixture, the rest of the unsigned one.
std::vector<std::wstring> MakeFiles(const std::wstring& folder)
{
    RemoveScratch(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> files;
    for (int i = 0; i < kFiles; ++i) {
        files.push_back(folder + L"\\program" + std::to_wstring(i) + L".exe");
        if (!CopyFileW(FixturePath(i % 2 == 0 ? L"signed.exe" : L"unsigned.exe").c_str(), files.back().c_str(), FALSE))
            return {};
    }
    return files;
}

void BareCheck(const std::wstring& file)
{
    WINTRUST_FILE_INFO info{};
    info.cbStruct = sizeof(info);
    info.pcwszFilePath = file.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &info;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
}

// What a plain program does: an embedded signature checked, nothing else; on more than one
// thread, each takes the next file, as the command line shares them out.
double BareLoopMs(const std::vector<std::wstring>& files, int threadCount = 1)
{
    return qmbench::TimeMs([&] {
        std::atomic<std::size_t> next = 0;
        auto work = [&] {
            for (std::size_t i = next++; i < files.size(); i = next++)
                BareCheck(files[i]);
        };
        std::vector<std::thread> threads;
        for (int i = 1; i < threadCount; ++i)
            threads.emplace_back(work);
        work();
        for (std::thread& thread : threads)
            thread.join();
    });
}

// From handing the worker every file to the last result taken from a message, as the window
// takes them.
double WorkerPassMs(qm::SignatureWorker& worker, const std::vector<std::wstring>& files)
{
    return qmbench::TimeMs([&] {
        worker.NewRound();
        for (std::size_t i = 0; i < files.size(); ++i)
            worker.Add(i, files[i]);
        std::size_t results = 0;
        MSG msg;
        while (results < files.size() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kCheckedMessage)
                results += worker.Take(msg.wParam, msg.lParam) ? 1 : 0;
            else
                DispatchMessageW(&msg);
        }
    });
}

// quillmoor-cli.exe from start to exit on so many processors, its output to NUL.
double CliMs(const std::wstring& arguments, int processors)
{
    const std::wstring program = qm::App().Folder() + L"\\..\\quillmoor-cli.exe";
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const qm::UniqueFile nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul.get();
    startup.hStdError = nul.get();
    PROCESS_INFORMATION process{};
    const double start = qmbench::NowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
            &startup, &process))
        return -1;
    const qm::UniqueKernelHandle processHandle(process.hProcess);
    const qm::UniqueKernelHandle threadHandle(process.hThread);
    SetProcessAffinityMask(process.hProcess, (DWORD_PTR{1} << processors) - 1);
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    return qmbench::NowMs() - start;
}

// Start to first paint of quillmoor.exe listing the files from the HKLM Run key, whose checks
// start after that paint, against the empty reference window.
struct StartFigures {
    double empty = 0;
    double quillmoor = 0;
};

StartFigures StartToFirstPaint(const std::vector<std::wstring>& files)
{
    for (int i = 0; i < kFiles; ++i)
        qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, kEntryPrefix + std::to_wstring(i), L"\"" + files[static_cast<size_t>(i)] + L"\"");
    std::vector<double> empty;
    std::vector<double> quillmoor;
    for (int run = -1; run < kRuns; ++run) {
        const auto minimal = qmbench::RunToFirstPaint(qm::App().Folder() + L"\\minimal_window.exe");
        const auto ours = qmbench::RunToFirstPaint(qm::App().Folder() + L"\\..\\quillmoor.exe");
        if (run >= 0 && minimal && ours) {
            empty.push_back(minimal->ms);
            quillmoor.push_back(ours->ms);
        }
    }
    for (int i = 0; i < kFiles; ++i)
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, qmtest::kRunKey, (kEntryPrefix + std::to_wstring(i)).c_str());
    return {qmbench::Median(empty), qmbench::Median(quillmoor)};
}

} // namespace

int wmain()
{
    if (!qmbench::UnderWine()) {
        qmbench::Print("bench_verify seeds the HKCU Run key and so runs only in the build's private Wine prefix\n");
        return 1;
    }
    const std::wstring folder = ScratchFolder();
    const std::vector<std::wstring> files = MakeFiles(folder);
    if (files.empty()) {
        qmbench::Print("the signature fixtures are missing: run tests/scripts/signed-fixtures.sh first\n");
        return 1;
    }
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    // The libraries loaded and the files read once, before anything is timed.
    static_cast<void>(BareLoopMs({FixturePath(L"signed.exe")}));
    static_cast<void>(BareLoopMs(files));

    for (int i = 0; i < kFiles; ++i)
        qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, kEntryPrefix + std::to_wstring(i), L"\"" + files[static_cast<size_t>(i)] + L"\" /start");
    const std::wstring onlyEntry = std::wstring(kEntryPrefix) + L"only";
    qmtest::SetString(HKEY_LOCAL_MACHINE, qmtest::kRunKey, onlyEntry, L"\"" + files.front() + L"\"");
    const std::wstring list = L"list --location hkcu --format csv";
    const UniqueWindow window(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    struct Samples {
        std::vector<double> bare, bareTwo, first, cached, cliStart, cliPlain, cliOnlyEntry, cliOne, cliTwo;
    } ms, ratio;
    for (int run = 0; run < kRuns; ++run) {
        const double bare = BareLoopMs(files);
        ms.bare.push_back(bare);
        ms.bareTwo.push_back(BareLoopMs(files, 2));
        qm::SignatureWorker worker(window.get(), kCheckedMessage);
        ms.first.push_back(WorkerPassMs(worker, files));
        ms.cached.push_back(WorkerPassMs(worker, files));
        ms.cliStart.push_back(CliMs(L"--version", 2));
        ms.cliPlain.push_back(CliMs(list, 2));
        ms.cliOnlyEntry.push_back(CliMs(L"list --location hklm --format csv --verify", 2));
        ms.cliOne.push_back(CliMs(list + L" --verify", 1));
        ms.cliTwo.push_back(CliMs(list + L" --verify", 2));
        ratio.bareTwo.push_back(ms.bareTwo.back() / bare);
        ratio.first.push_back(ms.first.back() / bare);
        ratio.cached.push_back(ms.cached.back() / ms.first.back());
        ratio.cliOne.push_back(ms.cliOne.back() / bare);
        ratio.cliTwo.push_back(ms.cliTwo.back() / bare);
    }
    for (int i = 0; i < kFiles; ++i)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, qmtest::kRunKey, (kEntryPrefix + std::to_wstring(i)).c_str());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, qmtest::kRunKey, onlyEntry.c_str());
    const StartFigures start = StartToFirstPaint(files);
    RemoveScratch(folder);

    using qmbench::Median;
    const double bare = Median(ms.bare);
    qmbench::Print("%d program files (%d signed, %d unsigned copies), %lu processors, median of %d alternating runs\n"
                   "(a ratio is the median of each run's own ratio):\n", kFiles, kFiles / 2, kFiles / 2,
        system.dwNumberOfProcessors, kRuns);
    qmbench::Print("  bare WinVerifyTrust loop, one thread          %8.1f ms  %6.3f ms/file\n", bare, bare / kFiles);
    qmbench::Print("  bare WinVerifyTrust loop, two threads         %8.1f ms  %6.2fx the bare loop\n", Median(ms.bareTwo),
        Median(ratio.bareTwo));
    qmbench::Print("  the window's worker, first pass               %8.1f ms  %6.2fx the bare loop\n", Median(ms.first),
        Median(ratio.first));
    qmbench::Print("  the window's worker, second pass (cache)      %8.1f ms  %6.1f %% of its first pass\n", Median(ms.cached),
        100.0 * Median(ratio.cached));
    qmbench::Print("  quillmoor-cli list --verify, 1 processor      %8.1f ms  %6.2fx the bare loop\n", Median(ms.cliOne),
        Median(ratio.cliOne));
    qmbench::Print("  quillmoor-cli list --verify, 2 processors     %8.1f ms  %6.2fx the bare loop\n", Median(ms.cliTwo),
        Median(ratio.cliTwo));
    qmbench::Print("The command line's time taken apart, each a process of its own:\n");
    qmbench::Print("  quillmoor-cli --version                       %8.1f ms  (process start and exit under Wine)\n",
        Median(ms.cliStart));
    qmbench::Print("  quillmoor-cli list without --verify           %8.1f ms  (and the listing, programs found, companies)\n",
        Median(ms.cliPlain));
    qmbench::Print("  quillmoor-cli list --verify of one program    %8.1f ms  (and a process's first trust check)\n",
        Median(ms.cliOnlyEntry));
    qmbench::Print("Start to first paint with these %d entries in HKLM Run (checks start after it): quillmoor.exe\n"
                   "  %.1f ms, the empty window %.1f ms: %.2fx\n", kFiles, start.quillmoor, start.empty, start.quillmoor / start.empty);
    return 0;
}
