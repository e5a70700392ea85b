#include "RegTestSupport.h"

#include <gtest/gtest.h>

using namespace qmtest;

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

qm::RegFileParse Parse(const std::vector<uint8_t>& bytes)
{
    return qm::ParseRegFile(bytes, Cp1252Codec());
}

struct AcceptCase {
    const char* label;
    std::string file; // REGEDIT4, CP1252
    std::u16string name;
    uint32_t type;
    std::vector<uint8_t> data;
};

TEST(RegFileParse, ReadsWhatTheRegistryEditorReads)
{
    const AcceptCase cases[] = {
        {"comments, blank lines and LF line ends", "REGEDIT4\n; saved\n\n  [HKEY_CURRENT_USER\\X]\n\n  ;x\n\"a\"=\"b\"",
            u"a", qm::kRegSz, Sz(u"b")},
        {"blanks around the equals sign", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\" \t= \"b\"  \r\n", u"a",
            qm::kRegSz, Sz(u"b")},
        {"default value", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n@=\"b\"\r\n", u"", qm::kRegSz, Sz(u"b")},
        {"empty quoted name is the default value", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"\"=\"b\"\r\n", u"",
            qm::kRegSz, Sz(u"b")},
        {"unknown escape kept as written", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\\tb\"=\"C:\\temp\\\\x\"\r\n",
            u"a\\tb", qm::kRegSz, Sz(u"C:\\temp\\x")},
        {"upper-case keywords and digits", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"d\"=DWORD:Ab\r\n", u"d",
            qm::kRegDword, {0xAB, 0, 0, 0}},
        {"continued hex data with blanks and a trailing blank line",
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"b\"=HEX: 0A , ff,\\\r\n    10,\\  \r\n\t20\r\n\r\n", u"b",
            qm::kRegBinary, {0x0A, 0xFF, 0x10, 0x20}},
        {"continuation straight after hex:", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"b\"=hex(0):\\\r\n  01\r\n", u"b",
            qm::kRegNone, {0x01}},
        {"REGEDIT4 string hex data are ANSI", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"e\"=hex(2):e9,80,00\r\n", u"e",
            qm::kRegExpandSz, Sz(u"\u00e9\u20ac")},
        {"ANSI text decoded", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"Caf\xe9\"=\"\x80\"\r\n", u"Caf\u00e9",
            qm::kRegSz, Sz(u"\u20ac")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto parsed = Parse(Bytes(c.file));
        ASSERT_TRUE(parsed.file) << Narrow(parsed.error);
        ASSERT_EQ(parsed.file->sections.size(), 1u);
        const auto& section = parsed.file->sections[0];
        EXPECT_EQ(section.keyPath, L"HKEY_CURRENT_USER\\X");
        ASSERT_EQ(section.values.size(), 1u);
        EXPECT_EQ(section.values[0].keyPath, L"HKEY_CURRENT_USER\\X");
        EXPECT_EQ(section.values[0].name, W(c.name));
        EXPECT_EQ(section.values[0].type, c.type);
        EXPECT_EQ(section.values[0].data, c.data);
    }
}

TEST(RegFileParse, Version5StringHexDataAreRawUtf16AndDeletionsAreFlagged)
{
    const auto parsed = Parse(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                        u"[-HKEY_CURRENT_USER\\Gone]\r\n\r\n"
                                        u"[HKEY_CURRENT_USER\\K]\r\n"
                                        u"\"\u0416\"=hex(2):16,04,00,00\r\n\"x\"=-\r\n@ = -\r\n"));
    ASSERT_TRUE(parsed.file) << Narrow(parsed.error);
    EXPECT_EQ(parsed.file->format, qm::RegFileFormat::Version5);
    const auto& sections = parsed.file->sections;
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_TRUE(sections[0].deleteKey);
    EXPECT_EQ(sections[0].keyPath, L"HKEY_CURRENT_USER\\Gone");
    EXPECT_FALSE(sections[1].deleteKey);
    ASSERT_EQ(sections[1].values.size(), 1u);
    EXPECT_EQ(sections[1].values[0].data, Sz(u"\u0416"));
    EXPECT_EQ(sections[1].deletedValues, (std::vector<std::wstring>{L"x", L""}));
}

struct RefuseCase {
    const char* label;
    std::vector<uint8_t> file;
    const char* reason; // a fragment of the error text
};

std::vector<uint8_t> Ansi(std::string_view body)
{
    return Bytes("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n" + std::string(body));
}

TEST(RegFileParse, RefusesMalformedFilesWithAReason)
{
    auto withNul = Ansi("\"a\"=\"b\"\r\n\"c\"=\"d");
    withNul.insert(withNul.end() - 1, 0);
    const std::string hugeName = "\"" + std::string(1 << 20, 'n') + "\"=\"x\"";
    const RefuseCase cases[] = {
        {"empty file", {}, "empty"},
        {"half a UTF-16 character", [] {
             auto file = Utf16File(u"Windows Registry Editor Version 5.00\r\n");
             file.push_back('x');
             return file;
         }(),
            "half a character"},
        {"big-endian mark", {0xFE, 0xFF, 0, 'R'}, "big-endian"},
        {"UTF-8 mark", Bytes("\xEF\xBB\xBFREGEDIT4\r\n"), "UTF-8"},
        {"version 5 header in ANSI", Bytes("Windows Registry Editor Version 5.00\r\n"), "needs UTF-16"},
        {"UTF-16 without mark", Utf16(u"REGEDIT4\r\n"), "Line 1: the line holds a NUL"},
        {"value before any key", Bytes("REGEDIT4\r\n\"a\"=\"b\"\r\n"), "Line 2: a value comes before any key"},
        {"value under a deleted key", Bytes("REGEDIT4\r\n[-HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n"), "deletes the key"},
        {"stray line", Ansi("a=b\r\n"), "Line 3: the line is neither"},
        {"NUL in a line", withNul, "Line 4: the line holds a NUL"},
        {"empty key name in the path", Bytes("REGEDIT4\r\n[HKEY_CURRENT_USER\\\\X]\r\n"), "empty key name"},
        {"key name over 255 characters", Bytes("REGEDIT4\r\n[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\r\n"),
            "longer than 255"},
        {"unbalanced quote in the name", Ansi("\"a=1\r\n"), "value name has no closing quote"},
        {"quote escaped at the end", Ansi("\"a\"=\"b\\\"\r\n"), "value data has no closing quote"},
        {"newline escape", Ansi("\"a\"=\"b\\nc\"\r\n"), "escape \\n"},
        {"unknown data kind", Ansi("\"a\"=str(2):\"b\"\r\n"), "neither quoted text"},
        {"dword too long", Ansi("\"a\"=dword:000000001\r\n"), "one to eight hex digits"},
        {"hex type unterminated", Ansi("\"a\"=hex(2:00\r\n"), "hex( is not followed"},
        {"bad hex byte", Ansi("\"a\"=hex:0g\r\n"), "two-digit hex bytes"},
        {"hex bytes without comma", Ansi("\"a\"=hex:01 02\r\n"), "not separated by commas"},
        {"continuation into nothing", Ansi("\"a\"=hex:01,\\\r\n"), "past the end of the file"},
        {"continuation into a blank line", Ansi("\"a\"=hex:01,\\\r\n\r\n\"b\"=\"c\"\r\n"), "Line 4: the hex data end"},
        {"1 MB value name", Ansi(hugeName), "longer than 16383"},
        {"10 MB line of garbage", Ansi(std::string(10 << 20, '\x9d')), "neither a key"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto parsed = Parse(c.file);
        EXPECT_FALSE(parsed.file);
        EXPECT_NE(Narrow(parsed.error).find(c.reason), std::string::npos) << Narrow(parsed.error);
    }
}

// A cut file must give an answer, never a read past the end, and a cut backup is never fit to
// restore a shorter value. (Random damage is the fuzzer's.)
TEST(RegFileParse, SurvivesTruncation)
{
    const qm::RegValue values[] = {
        {W(kRunCu), L"a\"b\\", qm::kRegBinary, std::vector<uint8_t>(90, 0x5C)},
        {W(kRunCu), W(u"\u0416"), qm::kRegMultiSz, Utf16(u"x\\\"y")},
        {W(kRunCu), L"d", qm::kRegDword, {0xEF, 0xBE, 0xAD, 0xDE}},
    };
    for (const auto& value : values) {
        const auto seed = qm::EncodeBackup({value});
        for (size_t length = 0; length <= seed.size(); ++length) {
            const auto parsed = Parse(std::vector<uint8_t>(seed.begin(), seed.begin() + length));
            EXPECT_NE(parsed.file.has_value(), !parsed.error.empty());
            if (parsed.file && qm::ValidateStartupBackup(*parsed.file).ok) {
                EXPECT_TRUE(parsed.file->sections[0].values[0].data == value.data) << "cut at " << length;
            }
        }
    }
}

struct ValidateCase {
    const char* label;
    std::string body; // after the REGEDIT4 header
    bool ok;
};

TEST(StartupBackup, AcceptsOneValueOfAStartupKeyAndNothingElseButTheEntrysState)
{
    const std::string userRun = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
    const std::string userState =
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run]\r\n";
    const std::string run32 = "[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
    const std::string state32 =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32]\r\n";
    const std::string disabled = "=hex:03,00,00,00,00,00,00,00,00,00,00,00";
    const std::string folderState =
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder]\r\n";
    const ValidateCase cases[] = {
        {"32-bit Run", run32 + "\"a\"=\"b\"", true},
        {"32-bit RunServices", "[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices]\r\n@=\"b\"", true},
        {"entry with its state", userRun + "\"a\"=\"b\"\r\n" + userState + "\"a\"" + disabled, true},
        {"32-bit entry with its state", run32 + "\"a\"=\"b\"\r\n" + state32 + "\"a\"" + disabled, true},
        {"state of another key", run32 + "\"a\"=\"b\"\r\n" + userState + "\"a\"" + disabled, false},
        {"state of another entry", userRun + "\"a\"=\"b\"\r\n" + userState + "\"c\"" + disabled, false},
        {"state of any type", userRun + "\"a\"=\"b\"\r\n" + userState + "\"a\"=hex(0):", true},
        {"state of two entries", userRun + "\"a\"=\"b\"\r\n\"c\"=\"d\"\r\n" + userState + "\"a\"" + disabled, false},
        {"two states", userRun + "\"a\"=\"b\"\r\n" + userState + "\"a\"" + disabled + "\r\n\"c\"" + disabled, false},
        {"a third section", userRun + "\"a\"=\"b\"\r\n" + userState + "\"a\"" + disabled + "\r\n" + userRun + "\"c\"=\"d\"",
            false},
        {"state alone", userState + "\"a\"" + disabled, false},
        {"local machine Run", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"a\"=\"b\"", true},
        {"RunServices in other case",
            "[hkey_local_machine\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RUNSERVICES]\r\n\"a\"=\"b\"", true},
        {"current user, two values", userRun + "\"a\"=\"b\"\r\n\"c\"=hex(2):00", false},
        {"default profile", "[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n@=\"b\"", true},
        {"no section", "", false},
        {"no value", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n", false},
        {"two sections", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"a\"=\"b\"\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"c\"=\"d\"",
            false},
        {"other key", "[HKEY_CURRENT_USER\\Software\\Classes\\exefile\\shell\\open\\command]\r\n@=\"x\"", false},
        {"Run below another key", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sub]\r\n\"a\"=\"b\"",
            false},
        {"short root name", "[HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"a\"=\"b\"", false},
        {"deleted key", "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]", false},
        {"deleted value", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"a\"=\"b\"\r\n\"c\"=-",
            false},
        {"folder item's state", folderState + "\"Tool.lnk\"" + disabled, true},
        {"folder item without state", folderState + "\"Tool.lnk\"=-", true},
        {"all users' folder item", "[HKEY_LOCAL_MACHINE" + folderState.substr(18) + "\"a.url\"=-", true},
        {"folder item's name leaves the folder", folderState + "\"..\\\\evil.exe\"=-", false},
        {"folder item named by a path", folderState + "\"C:Tool.lnk\"" + disabled, false},
        {"folder item named ..", folderState + "\"..\"=-", false},
        {"two folder items", folderState + "\"a.lnk\"=-\r\n\"b.lnk\"=-", false},
        {"folder item and a Run entry", userRun + "\"a\"=\"b\"\r\n" + folderState + "\"a\"" + disabled, false},
        {"deleted Run state", userState + "\"a\"=-", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto parsed = Parse(Bytes("REGEDIT4\r\n\r\n" + c.body + "\r\n"));
        ASSERT_TRUE(parsed.file) << Narrow(parsed.error);
        const auto check = qm::ValidateStartupBackup(*parsed.file);
        EXPECT_EQ(check.ok, c.ok);
        EXPECT_EQ(check.reason.empty(), c.ok);
    }
    // A real export of a user's Run key (piPCStats' autostart.reg): nine entries, where a
    // backup holds one.
    const auto exported = Parse(Utf16File(uR"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"LGHUB"="\"C:\\Program Files\\LGHUB\\lghub.exe\" --background"
"GNE_DualMonitorTools"="C:\\Program Files (x86)\\Dual Monitor Tools\\DMT.exe"
"Steam"="\"C:\\Program Files (x86)\\Steam\\steam.exe\" -silent"
"EADM"="\"D:\\ORIGIN\\Origin.exe\" -AutoStart"
"GoogleDriveFS"="\"C:\\Program Files\\Google\\Drive File Stream\\64.0.4.0\\GoogleDriveFS.exe\" --startup_mode"
"Discord"="C:\\Users\\levelKro\\AppData\\Local\\Discord\\Update.exe --processStart Discord.exe --process-start-args --start-minimized"
"Nextcloud"="C:\\Program Files\\Nextcloud\\nextcloud.exe"
"SIVX64"="\"D:\\DATA\\SIV\\SIV64X.exe\" -NOWIZARD -TRAY -SINGLE"
"PCStat"="D:\\CODES\\PYTHON\\pcstats\\pc\\run.vbs"

)"));
    ASSERT_TRUE(exported.file) << Narrow(exported.error);
    EXPECT_EQ(Narrow(qm::ValidateStartupBackup(*exported.file).reason),
        "The key HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run holds 9 values; a backup holds one.");
}

TEST(SameValue, ComparesStringsAsTextAndEverythingElseByBytes)
{
    const qm::RegValue stored{W(kRunCu), L"a", qm::kRegSz, Sz(u"x")};
    const auto with = [&stored](auto change) {
        qm::RegValue v = stored;
        change(v);
        return qm::SameValue(stored, v);
    };
    EXPECT_TRUE(with([](qm::RegValue&) {}));
    EXPECT_TRUE(with([](qm::RegValue& v) { v.data = Utf16(u"x"); }));
    EXPECT_FALSE(with([](qm::RegValue& v) { v.data = Sz(u"X"); }));
    EXPECT_FALSE(with([](qm::RegValue& v) { v.name = L"A"; }));
    EXPECT_FALSE(with([](qm::RegValue& v) { v.keyPath = W(kRunLm); }));
    EXPECT_FALSE(with([](qm::RegValue& v) { v.type = qm::kRegExpandSz; }));
    const qm::RegValue binary{W(kRunCu), L"b", qm::kRegBinary, {1, 0}};
    EXPECT_FALSE(qm::SameValue(binary, {W(kRunCu), L"b", qm::kRegBinary, {1}}));
}

} // namespace
