#pragma once

#include <windows.h>

#include <ostream>

namespace qmtest {

// What a process holds of the system's objects. GetGuiResources and GetProcessHandleCount
// answer 0 under Wine, so there the counts come from the process's GDI handle table, its
// windows, and a probe of the kernel handle values.
struct ResourceCounts {
    long gdi;
    long user;
    long handles;

    static ResourceCounts Now();
    bool operator==(const ResourceCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ResourceCounts& counts);

} // namespace qmtest
