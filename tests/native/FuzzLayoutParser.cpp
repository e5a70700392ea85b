// Arbitrary bytes as a stored layout. The parser must answer with a layout or a reason, the
// same answer every time, and every font it accepts must have a size a font can have.

#include "host/StoredLayoutText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <variant>

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
    const auto again = qm::ParseLayout(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!again.layout || !(*again.layout == *parsed.layout)) {
        Broken("the same text reads differently a second time");
    }
    for (const auto& control : parsed.layout->controls) {
        for (const auto& entry : control.properties.Entries()) {
            const auto* font = std::get_if<qm::FontDesc>(&entry.value);
            if (font && !qm::IsValidFontSize(font->size)) {
                Broken("a font size outside what a font can have was accepted");
            }
        }
    }
    return 0;
}
