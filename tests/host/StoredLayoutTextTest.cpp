#include "host/StoredLayoutText.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredLayoutText, RejectsMalformedTextNamingTheLine)
{
    using namespace std::string_literals;
    const std::string huge(1 << 20, 'w');
    struct Case {
        std::string text;
        std::size_t line;
    } const cases[] = {
        {"", 0},
        {"\xFF\xFEw\0i\0n\0d\0o\0w\0 \0w\0\n\0"s, 1},
        {"# note\0\nwindow w\n"s, 1},
        {"window w\ncontrol b c 1 1\n x int 1\0\nend\n"s, 3},
        {"window " + huge + "\n", 1},
        {"window w\ncontrol b c 1 1\n " + huge + " int 1\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x int " + std::string(1 << 20, '9') + "\nend\n", 3},
        {"window w\ncontrol b c 1 1\n\"tx\" text \"x\"\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x font \"MS Sans", 3},
        {"window w\ncontrol b c 1 1\nend\ncontrol B c 1 1\nend\n", 4},
        {"window w\ncontrol b c 1 1\n x text \"\xC3\"\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x font \"f\" 0.5\nend\n", 3},
    };
    for (const auto& c : cases) {
        const auto parsed = qm::ParseLayout(c.text);
        const std::string shown = c.text.substr(0, 80);
        EXPECT_FALSE(parsed.layout) << shown;
        EXPECT_EQ(parsed.errorLine, c.line) << shown;
        EXPECT_FALSE(parsed.error.empty()) << shown;
    }
}

} // namespace
