#include "BenchSupport.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace qmbench {

double CounterMs(long long counter)
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(counter) / ticksPerMs;
}

double NowMs()
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return CounterMs(now.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
}

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool SeedValues(HKEY root, const std::wstring& subKey, int count, const std::wstring& named, const std::wstring& namedData)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    auto set = [key](const std::wstring& name, const std::wstring& data) {
        return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    };
    bool ok = named.empty() || set(named, namedData);
    for (int i = named.empty() ? 0 : 1; ok && i < count; ++i) {
        wchar_t name[32];
        wchar_t data[96];
        swprintf(name, 32, L"Bench %05d", i);
        swprintf(data, 96, L"\"C:\\Program Files\\Vendor %05d\\program.exe\" /background", i);
        ok = set(name, data);
    }
    RegCloseKey(key);
    return ok;
}

void Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

} // namespace qmbench
