#include "cli/Compare.h"
#include "cli/ListingReader.h"
#include "cli/Output.h"

#include <gtest/gtest.h>

using qm::cli::CompareOptions;
using qm::cli::Format;
using qm::cli::ListedEntry;

namespace {

const qm::StartupKey* Location(const wchar_t* name)
{
    return qm::FindStartupKeyByName(name);
}

ListedEntry Entry(const wchar_t* location, const wchar_t* name, const wchar_t* command, bool enabled = true,
    const wchar_t* type = L"REG_SZ")
{
    return {Location(location), Location(location)->fullPath, name, type, enabled, command};
}

// The report as CSV without its header: one line per difference.
std::wstring Report(const std::vector<ListedEntry>& baseline, const std::vector<ListedEntry>& current, CompareOptions options = {})
{
    const std::wstring csv = qm::cli::FormatRecords(qm::cli::CompareListings(baseline, current, options), Format::Csv, false);
    std::wstring rows = csv.substr(csv.find(L"\r\n") + 2);
    // The key is the location's and only lengthens the lines.
    for (const wchar_t* location : {L"hkcu", L"hklm"}) {
        const std::wstring key = std::wstring(L",") + Location(location)->fullPath + L",";
        for (auto at = rows.find(key); at != std::wstring::npos; at = rows.find(key))
            rows.replace(at, key.size(), L",,");
    }
    return rows;
}

} // namespace

TEST(CompareTest, ReportsEachDifferenceOfEntriesMatchedByLocationKeyAndName)
{
    struct Case {
        const char* what;
        std::vector<ListedEntry> baseline;
        std::vector<ListedEntry> current;
        CompareOptions options;
        std::wstring report;
    };
    const Case cases[] = {
        {"the same listing", {Entry(L"hkcu", L"A", L"a.exe")}, {Entry(L"hkcu", L"A", L"a.exe")}, {}, L""},
        {"added", {}, {Entry(L"hkcu", L"A", L"a.exe")}, {}, L"added,hkcu,,A,,,a.exe\r\n"},
        {"removed", {Entry(L"hkcu", L"A", L"a.exe")}, {}, {}, L"removed,hkcu,,A,,a.exe,\r\n"},
        {"changed state", {Entry(L"hkcu", L"A", L"a.exe")}, {Entry(L"hkcu", L"A", L"a.exe", false)}, {},
            L"changed,hkcu,,A,enabled,true,false\r\n"},
        {"changed state, ignored", {Entry(L"hkcu", L"A", L"a.exe")}, {Entry(L"hkcu", L"A", L"a.exe", false)},
            {true, {}}, L""},
        {"everything changed at once, in field order", {Entry(L"hkcu", L"A", L"a.exe")},
            {Entry(L"hkcu", L"A", L"b.exe", false, L"REG_EXPAND_SZ")}, {},
            L"changed,hkcu,,A,command,a.exe,b.exe\r\nchanged,hkcu,,A,type,REG_SZ,REG_EXPAND_SZ\r\n"
            L"changed,hkcu,,A,enabled,true,false\r\n"},
        {"the same entry in another location", {Entry(L"hklm", L"A", L"a.exe")}, {Entry(L"hkcu", L"A", L"a.exe")}, {},
            L"removed,hklm,,A,,a.exe,\r\nadded,hkcu,,A,,,a.exe\r\n"},
        {"the default value", {Entry(L"hkcu", L"", L"a.exe")}, {Entry(L"hkcu", L"", L"b.exe"), Entry(L"hkcu", L"A", L"a.exe")}, {},
            L"changed,hkcu,,,command,a.exe,b.exe\r\nadded,hkcu,,A,,,a.exe\r\n"},
        {"names differing only in case", {Entry(L"hkcu", L"Contoso \u00c9diteur", L"a.exe")},
            {Entry(L"hkcu", L"CONTOSO \u00e9DITEUR", L"b.exe")}, {},
            L"changed,hkcu,,CONTOSO \u00e9DITEUR,command,a.exe,b.exe\r\n"},
        {"command lines differing only in case differ", {Entry(L"hkcu", L"A", L"a.exe")}, {Entry(L"hkcu", L"A", L"A.EXE")}, {},
            L"changed,hkcu,,A,command,a.exe,A.EXE\r\n"},
        {"--location narrows both", {Entry(L"hklm", L"A", L"a.exe"), Entry(L"hkcu", L"B", L"b.exe")}, {},
            {false, {Location(L"hkcu")}}, L"removed,hkcu,,B,,b.exe,\r\n"},
        {"in the locations' order whatever the listings' order",
            {Entry(L"hkcu", L"b", L"b.exe"), Entry(L"hkcu", L"A", L"a.exe"), Entry(L"hklm", L"Z", L"z.exe")}, {}, {},
            L"removed,hklm,,Z,,z.exe,\r\nremoved,hkcu,,A,,a.exe,\r\nremoved,hkcu,,b,,b.exe,\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Report(c.baseline, c.current, c.options), c.report) << c.what;
}

TEST(CompareTest, ReadsWhatListWritesAndRefusesWhatItNeverWrites)
{
    const std::string entry =
        R"({"location": "hkcu", "key": "K", "name": "A\u00e9\ud83d\ude00", "type": "REG_SZ", "enabled": false, "command": "C:\\a \"b\"", "program": null, "programExists": null})";
    const auto read = qm::cli::ReadListing("[\r\n  " + entry + "\r\n]\r\n");
    ASSERT_TRUE(read.entries) << testing::PrintToString(read.error);
    ASSERT_EQ(read.entries->size(), 1u);
    EXPECT_EQ(read.entries->front().name, L"A\u00e9\U0001F600");
    EXPECT_EQ(read.entries->front().command, L"C:\\a \"b\"");
    EXPECT_FALSE(read.entries->front().enabled);
    // Windows PowerShell 5.1 stores "> file" as UTF-16LE with a byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (const char c : "[" + entry + "]")
        utf16 += std::string{c, '\0'};
    EXPECT_TRUE(qm::cli::ReadListing(utf16).entries);
    EXPECT_TRUE(qm::cli::ReadListing("\xEF\xBB\xBF[]").entries);

    const std::string fields = R"("location": "hkcu", "key": "K", "type": "REG_SZ", "enabled": true, "command": "c")";
    const struct {
        std::string text;
        std::wstring error;
    } malformed[] = {
        {"", L"line 1, column 1: expected '[', found the end of the text"},
        {"{}", L"line 1, column 1: expected '['"},
        {"[", L"line 1, column 2: expected '{', found the end of the text"},
        {"[]x", L"line 1, column 3: text after the end of the listing"},
        {"[{" + fields + ", \"name\": \"A\"},]", L"line 1, column 99: expected '{'"},
        {"[{" + fields + "}]", L"entry 1: \"name\" is missing or not a string"},
        {"[{" + fields + ", \"name\": 1}]", L"line 1, column 94: a listing's values are never numbers"},
        {"[{" + fields + ", \"name\": [\"A\"]}]", L"line 1, column 94: a listing's values are never objects or arrays"},
        {"[{" + fields + ", \"name\": \"A\", \"name\": \"B\"}]", L"line 1, column 99: a field given twice"},
        {"[\r\n{" + fields + ", \"name\": \"A\nB\"}]", L"line 2, column 95: a control character inside a string"},
        {"[{" + fields + ", \"name\": \"A\\x\"}]", L"line 1, column 97: an unknown escape in a string"},
        {"[{" + fields + ", \"name\": \"A\\u00\"}]", L"line 1, column 100: \\u needs four hex digits"},
        {"[{" + fields + ", \"name\": \"A}]", L"line 1, column 98: a string without its closing quote"},
        {"[{" + fields + ", \"name\": True}]", L"line 1, column 94: expected a value"},
        {"[{\"location\": \"nowhere\", \"key\": \"K\", \"name\": \"A\", \"type\": \"REG_SZ\", \"enabled\": true, \"command\": \"c\"}]",
            L"entry 1: \"nowhere\" is not a location"},
        {"[{" + fields + ", \"name\": \"A\", \"enabled\": \"yes\"}]", L"line 1, column 99: a field given twice"},
        {"[{\"location\": \"hkcu\", \"key\": \"K\", \"name\": \"A\", \"type\": \"REG_SZ\", \"enabled\": null, \"command\": \"c\"}]",
            L"entry 1: \"enabled\" is missing or not true or false"},
        {"[{" + fields + ", \"name\": \"Run\"}, {" + fields + ", \"name\": \"RUN\"}]", L"the entry \"Run\" of hkcu is listed twice"},
        {"[\"\xC3\"]", L"not UTF-8 text, nor UTF-16 with a byte-order mark"},
    };
    for (const auto& m : malformed) {
        const auto result = qm::cli::ReadListing(m.text);
        EXPECT_FALSE(result.entries) << m.text;
        EXPECT_EQ(result.error, m.error) << m.text;
    }
}
