#pragma once

// For the start-up and memory benchmarks: when the environment variable QM_STEP_TIMES names
// a file, each step of a start appends a line to it: the step, the performance counter and
// the working set and its peak in bytes. Without the variable nothing is written. Header only
// and free of the rest of the program, so that the benchmarks' reference programs report
// the same way.

#include "host/Handles.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace qm {

inline void NoteStartupStep(const char* step)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"QM_STEP_TIMES", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    char line[128];
    const int size = std::snprintf(line, sizeof(line), "%s %lld %llu %llu\n", step, static_cast<long long>(now.QuadPart),
        static_cast<unsigned long long>(memory.WorkingSetSize), static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    const UniqueFile file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file && size > 0)
        WriteFile(file.get(), line, static_cast<DWORD>(size), &written, nullptr);
}

} // namespace qm
