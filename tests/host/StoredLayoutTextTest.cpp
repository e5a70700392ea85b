#include "host/StoredLayoutText.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredLayoutText, ReadsEveryValueTypeWithWindowsLineEndsAndAnyKeyCase)
{
    const auto parsed = qm::ParseLayout(
        "\xEF\xBB\xBF# saved by hand\r\n"
        "window frmTest\r\n"
        "\r\n"
        "control cmdGo tintButton 3254 661\r\n"
        "  BTYPE int 0x8000000F\r\n"
        "  fx int -7\r\n"
        "  enab bool false\r\n"
        "  tx text \"a \\\"b\\\" \\\\ \\u00e9\xC3\xA9\"\r\n"
        "  font font \"MS Sans Serif\" 8.25 underline bold\r\n"
        "  picn picture bitmap data AAEC/w==\r\n"
        "end\r\n");
    ASSERT_TRUE(parsed.layout) << parsed.error << " at line " << parsed.errorLine;
    const auto* control = parsed.layout->Find(L"CMDGO");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->extentX, 3254);
    const auto& bag = control->properties;
    EXPECT_EQ(bag.ReadInt(L"btype", 0), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(bag.ReadInt(L"FX", 0), -7);
    EXPECT_FALSE(bag.ReadBool(L"Enab", true));
    EXPECT_EQ(bag.ReadText(L"tx", L""), L"a \"b\" \\ \u00e9\u00e9");
    EXPECT_EQ(bag.ReadFont(L"font"), (qm::FontDesc{L"MS Sans Serif", 8.25, true, false, true}));
    const auto picture = bag.ReadPicture(L"picn");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->bytes, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0xFF}));
}

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
        {"window w\ncontrol b c 1", 2},
        {"window w\ncontrol b c 1 1\n x font \"MS Sans", 3},
        {"control b c 1 1\nend\n", 1},
        {"window w\nwindow v\n", 2},
        {"window w\ntx text \"x\"\n", 2},
        {"window w\ncontrol b c 1 1\n", 2},
        {"window w\ncontrol b c 1 1\nend\ncontrol B c 1 1\nend\n", 4},
        {"window w\ncontrol b c -1 1\nend\n", 2},
        {"window w\ncontrol b c 1 1\n x int 2147483648\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x int 0x123456789\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x bool yes\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x text \"open\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x text \"bad \\q\"\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x text \"\xC3\"\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x text \"a\"b\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x font \"f\" 0.5\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x font \"f\" 8.12345\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x font \"f\" 8 bold bold\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x picture icon data AB=C\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x picture bitmap system-cursor 32649\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x picture icon resource 0\nend\n", 3},
        {"window w\ncontrol b c 1 1\n x int 1 2\nend\n", 3},
        {"window w\nend\n", 2},
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
