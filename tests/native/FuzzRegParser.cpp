// Arbitrary bytes as a .reg file. The parser must answer with a file or a reason, never both;
// every value it reads must come back unchanged from the backup file written for it.

#include "../backup/RegTestSupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Broken(const char* what, const std::wstring& detail = {})
{
    std::fprintf(stderr, "%s %ls\n", what, detail.c_str());
    std::abort();
}

void CheckRoundTrip(const qm::RegValue& value, const qm::AnsiCodec& codec)
{
    const auto again = qm::ParseRegFile(qm::EncodeBackup({value}), codec);
    if (!again.file) {
        Broken("the backup of a parsed value does not parse:", again.error);
    }
    const auto& sections = again.file->sections;
    if (sections.size() != 1 || sections[0].deleteKey || sections[0].values.size() != 1
        || !sections[0].deletedValues.empty()) {
        Broken("the backup of a parsed value is not one section with one value");
    }
    const qm::RegValue& back = sections[0].values[0];
    if (!qm::SameValue(value, back) || back.data != value.data) {
        Broken("the backup of a parsed value reads back differently:", value.name);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qmtest::Cp1252Codec codec;
    const auto parsed = qm::ParseRegFile(std::vector<uint8_t>(data, data + size), codec);
    if (parsed.file.has_value() == !parsed.error.empty()) {
        Broken("a parse must give either a file or a reason");
    }
    if (!parsed.file) {
        return 0;
    }
    const auto check = qm::ValidateStartupBackup(*parsed.file);
    if (check.ok == !check.reason.empty()) {
        Broken("a check must give either a pass or a reason");
    }
    for (const auto& section : parsed.file->sections) {
        for (const auto& value : section.values) {
            CheckRoundTrip(value, codec);
        }
    }
    return 0;
}
