// Arbitrary bytes as a program file. The reader must answer the same every time and never read
// outside the bytes (the sanitizers watch), whatever its headers and resource directory claim.

#include "launch/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> file(data, data + size);
    const qm::ReadFileBytes read = [&file](std::uint64_t offset, std::size_t count) {
        if (offset >= file.size())
            return std::vector<uint8_t>();
        const auto from = file.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::vector<uint8_t>(from, from + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(count, file.size() - offset)));
    };
    const std::vector<uint8_t> resource = qm::ReadVersionResource(read, 0x0409);
    const std::wstring company = qm::CompanyInVersionInfo(resource);
    if (resource != qm::ReadVersionResource(read, 0x0409) || company != qm::CompanyInVersionInfo(resource)) {
        std::fprintf(stderr, "the same bytes read twice differ\n");
        std::abort();
    }
    // The version information alone, as it would be found inside a program.
    static_cast<void>(qm::CompanyInVersionInfo(file));
    return 0;
}
