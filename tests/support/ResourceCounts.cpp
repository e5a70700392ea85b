#include "support/ResourceCounts.h"

#include <winternl.h>

#include <cstdint>

namespace qmtest {

namespace {

// One entry of the GDI handle table that the system maps into every GUI process (x64 layout).
struct GdiTableEntry {
    std::uint64_t object;
    std::uint16_t processId;
    std::uint16_t count;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiTableEntry) == 24);

constexpr size_t kPebGdiTableOffset = 0xF8;
constexpr int kGdiTableEntries = 65536;

long GdiObjectsInTable()
{
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return 0;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiTableEntry* const*>(peb + kPebGdiTableOffset);
    if (!table)
        return 0;
    long count = 0;
    for (int i = 0; i < kGdiTableEntries; ++i)
        count += table[i].type != 0;
    return count;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter)
{
    ++*reinterpret_cast<long*>(counter);
    EnumChildWindows(hwnd, CountWindow, counter);
    return TRUE;
}

long WindowsOfThisThread()
{
    long count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

long ValidHandleValues()
{
    long count = 0;
    for (std::uintptr_t value = 4; value < 0x4000; value += 4) {
        DWORD flags;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    }
    return count;
}

} // namespace

ResourceCounts ResourceCounts::Now()
{
    const HANDLE self = GetCurrentProcess();
    ResourceCounts counts{static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS)),
        static_cast<long>(GetGuiResources(self, GR_USEROBJECTS)), 0};
    DWORD handles = 0;
    GetProcessHandleCount(self, &handles);
    counts.handles = static_cast<long>(handles);
    if (counts.gdi == 0)
        counts.gdi = GdiObjectsInTable();
    if (counts.user == 0)
        counts.user = WindowsOfThisThread();
    if (counts.handles == 0)
        counts.handles = ValidHandleValues();
    return counts;
}

std::ostream& operator<<(std::ostream& out, const ResourceCounts& counts)
{
    return out << "{gdi " << counts.gdi << ", user " << counts.user << ", handles " << counts.handles << "}";
}

} // namespace qmtest
