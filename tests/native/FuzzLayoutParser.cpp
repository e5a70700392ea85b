// Arbitrary bytes as a stored layout. The parser must answer with a layout or a reason; a
// layout it reads must come back equal from its own text, and that text must be stable.

#include "host/LayoutText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Broken(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parsed = qm::ParseLayout(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.layout) {
        if (parsed.error.empty()) {
            Broken("a refused layout must give a reason");
        }
        return 0;
    }
    if (!parsed.error.empty() || parsed.errorLine != 0) {
        Broken("a parsed layout must not carry an error", parsed.error);
    }
    const std::string text = qm::FormatLayout(*parsed.layout);
    const auto again = qm::ParseLayout(text);
    if (!again.layout) {
        Broken(("the written layout does not parse: line " + std::to_string(again.errorLine) + ": " + again.error).c_str(),
            text);
    }
    if (!(*again.layout == *parsed.layout)) {
        Broken("the written layout reads back differently", text);
    }
    if (qm::FormatLayout(*again.layout) != text) {
        Broken("writing the layout again gives other text", text);
    }
    return 0;
}
