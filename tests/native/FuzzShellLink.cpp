// Arbitrary bytes as a shortcut. The reader must answer the same every time and never read
// outside the bytes (the sanitizers watch); a link it accepts keeps every text free of NULs
// but where the file's own counted strings hold them.

#include "../backup/RegTestSupport.h"
#include "launch/ShellLink.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qmtest::Cp1252Codec codec;
    const std::vector<uint8_t> bytes(data, data + size);
    const auto first = qm::ParseShellLink(bytes, codec);
    const auto again = qm::ParseShellLink(bytes, codec);
    if (first.has_value() != again.has_value() ||
        (first && (first->localPath != again->localPath || first->environmentTarget != again->environmentTarget))) {
        std::fprintf(stderr, "the same bytes read twice differ\n");
        std::abort();
    }
    if (first && size < 0x4C) {
        std::fprintf(stderr, "a link shorter than its header was accepted\n");
        std::abort();
    }
    return 0;
}
