#include "ChildProgram.h"

#include "BenchSupport.h"

#include <psapi.h>

#include "host/Files.h"

#include <algorithm>
#include <sstream>

namespace qmbench {

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindCaptionedWindow(HWND hwnd, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (processId != search->processId || !IsWindowVisible(hwnd) || (style & WS_CAPTION) != WS_CAPTION)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM data)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(data) = true;
        return FALSE;
    }
    return TRUE;
}

bool Painted(HWND window)
{
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool unpainted = false;
    EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

BOOL CALLBACK CountListItems(HWND child, LPARAM data)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"ListBox") == 0) {
        int& most = *reinterpret_cast<int*>(data);
        most = std::max(most, static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0)));
    }
    return TRUE;
}

void Close(const PROCESS_INFORMATION& process, HWND window)
{
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::wstring StepFile()
{
    wchar_t folder[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder, length) + L"quillmoor-bench-steps.txt";
}

std::vector<Step> ReadSteps(const std::wstring& file, double start)
{
    std::vector<Step> steps;
    const auto bytes = qm::ReadWholeFile(file);
    std::istringstream in(bytes ? std::string(bytes->begin(), bytes->end()) : std::string());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Step step;
        long long counter = 0;
        unsigned long long workingSet = 0;
        unsigned long long peak = 0;
        if (fields >> step.name >> counter >> workingSet >> peak) {
            step.ms = CounterMs(counter) - start;
            step.workingSet = static_cast<SIZE_T>(workingSet);
            steps.push_back(step);
        }
    }
    return steps;
}

} // namespace

std::optional<FirstPaint> RunToFirstPaint(const std::wstring& program, DWORD timeoutMs)
{
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    // The child inherits the variable and reports its steps into the file.
    const std::wstring stepFile = StepFile();
    DeleteFileW(stepFile.c_str());
    SetEnvironmentVariableW(L"QM_STEP_TIMES", stepFile.c_str());

    const double start = NowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
            &startup, &process))
        return std::nullopt;
    WindowSearch search{process.dwProcessId, nullptr};
    bool painted = false;
    while (!painted && NowMs() - start < timeoutMs) {
        if (!search.found)
            EnumWindows(FindCaptionedWindow, reinterpret_cast<LPARAM>(&search));
        painted = search.found && Painted(search.found);
        if (!painted)
            Sleep(1);
    }
    FirstPaint result;
    result.ms = NowMs() - start;
    if (painted) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters)))
            result.peakWorkingSet = counters.PeakWorkingSetSize;
        EnumChildWindows(search.found, CountListItems, reinterpret_cast<LPARAM>(&result.mostListItems));
    }
    Close(process, search.found);
    SetEnvironmentVariableW(L"QM_STEP_TIMES", nullptr);
    if (!painted)
        return std::nullopt;
    result.steps = ReadSteps(stepFile, start);
    DeleteFileW(stepFile.c_str());
    return result;
}

} // namespace qmbench
