#include "cli/Console.h"
#include "cli/Output.h"

#include <gtest/gtest.h>

#include <algorithm>

using qm::cli::Format;
using qm::cli::NoValue;

namespace {

// Names and command lines a script may meet, each in a field of its own.
qm::cli::Records Tricky()
{
    return {{L"name", L"command", L"on", L"exists"},
        {
            {L"Comma, \"quote\"", L"C:\\a b\\x.exe \"q\"", true, NoValue{}},
            {L"line\nbreak\r\n", L"tab\there", false, false},
            {L"\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600", L"C:\\\u041c\u0438\u0440\\x.exe", true, true},
            {L"", std::wstring(L"lone \xD800 high"), true, NoValue{}},
        }};
}

} // namespace

TEST(OutputTest, CsvQuotesAsRfc4180Says)
{
    EXPECT_EQ(qm::cli::FormatRecords(Tricky(), Format::Csv, false),
        L"name,command,on,exists\r\n"
        L"\"Comma, \"\"quote\"\"\",\"C:\\a b\\x.exe \"\"q\"\"\",true,\r\n"
        L"\"line\nbreak\r\n\",tab\there,false,false\r\n"
        L"\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600,C:\\\u041c\u0438\u0440\\x.exe,true,true\r\n"
        L",lone \xD800 high,true,\r\n");
}

TEST(OutputTest, JsonIsPlainAsciiWithEveryCharacterEscaped)
{
    const std::wstring json = qm::cli::FormatRecords(Tricky(), Format::Json, false);
    EXPECT_EQ(json,
        L"[\r\n"
        L"  {\"name\": \"Comma, \\\"quote\\\"\", \"command\": \"C:\\\\a b\\\\x.exe \\\"q\\\"\", \"on\": true, \"exists\": null},\r\n"
        L"  {\"name\": \"line\\nbreak\\r\\n\", \"command\": \"tab\\there\", \"on\": false, \"exists\": false},\r\n"
        L"  {\"name\": \"\\u041f\\u0440\\u0438\\u0432\\u0435\\u0442 \\ud83d\\ude00\", "
        L"\"command\": \"C:\\\\\\u041c\\u0438\\u0440\\\\x.exe\", \"on\": true, \"exists\": true},\r\n"
        L"  {\"name\": \"\", \"command\": \"lone \\ud800 high\", \"on\": true, \"exists\": null}\r\n"
        L"]\r\n");
    EXPECT_TRUE(std::all_of(json.begin(), json.end(), [](wchar_t c) { return c < 0x7F; }));
    EXPECT_EQ(qm::cli::FormatRecords({{L"name"}, {}}, Format::Json, false), L"[]\r\n");
}

TEST(OutputTest, TableKeepsOneLinePerRecordAlignedByDisplayWidth)
{
    // The emoji takes two cells, so its name is one cell shorter than it has characters; the
    // empty name is shown as "".
    EXPECT_EQ(qm::cli::FormatRecords(Tricky(), Format::Table, false),
        L"name            command           on   exists\r\n"
        L"Comma, \"quote\"  C:\\a b\\x.exe \"q\"  yes  -\r\n"
        L"line\u240Abreak\u240D\u240A    tab\u2409here          no   no\r\n"
        L"\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600       C:\\\u041c\u0438\u0440\\x.exe      yes  yes\r\n"
        L"\"\"              lone \xD800 high       yes  -\r\n");
    EXPECT_EQ(qm::cli::DisplayWidth(L"a\u0301\u4E2D\U0001F600"), 5u);
}

TEST(OutputTest, TableCutsCellsWiderThanSixtyUnlessWide)
{
    const std::wstring sixty(60, L'x');
    const std::wstring cut = std::wstring(59, L'x') + L"\u2026";
    // Cut by display width: 29 wide characters fill 58 cells, the 30th would pass 59.
    const std::wstring wideChars = std::wstring(40, L'\u4E2D');
    const qm::cli::Records records{{L"a", L"b"}, {{sixty, sixty + L"y"}, {wideChars, NoValue{}}}};
    EXPECT_EQ(qm::cli::FormatRecords(records, Format::Table, false),
        L"a" + std::wstring(61, L' ') + L"b\r\n" + sixty + L"  " + cut + L"\r\n" + std::wstring(29, L'\u4E2D') +
            L"\u2026" + std::wstring(3, L' ') + L"-\r\n");
    const std::wstring whole = qm::cli::FormatRecords(records, Format::Table, true);
    EXPECT_NE(whole.find(sixty + L"y"), std::wstring::npos);
    EXPECT_NE(whole.find(wideChars), std::wstring::npos);
    EXPECT_NE(qm::cli::FormatRecords(records, Format::Csv, false).find(sixty + L"y"), std::wstring::npos);
}

TEST(OutputTest, Utf8IsAlwaysValidLoneSurrogatesIncluded)
{
    const std::pair<std::wstring, std::string> cases[] = {
        {L"\u041f\u00e9", "\xD0\x9F\xC3\xA9"},
        {L"\u20AC\U0001F600", "\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {std::wstring(L"\xD800x"), "\xEF\xBF\xBDx"},
        {std::wstring(L"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [text, utf8] : cases)
        EXPECT_EQ(qm::cli::EncodeUtf8(text), utf8) << testing::PrintToString(text);
}
