#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qmbench {

// Milliseconds on the performance counter.
double NowMs();
// A reading of the performance counter (of this or another process) in the same milliseconds.
double CounterMs(long long counter);

template <typename F>
double TimeMs(F&& work)
{
    const double start = NowMs();
    work();
    return NowMs() - start;
}

double Median(std::vector<double> samples);

// Wine answers to a name that Windows' ntdll does not export.
bool UnderWine();

// Values "Bench NNNNN" (a made-up command line each) and, when given, one named value, up to
// `count` values in all, in a key of the root as this process sees it.
bool SeedValues(HKEY root, const std::wstring& subKey, int count, const std::wstring& named = {},
    const std::wstring& namedData = {});

// Prints and flushes at once, so that the figures appear while a long run goes on.
void Print(const char* format, ...);

} // namespace qmbench
