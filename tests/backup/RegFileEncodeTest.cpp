#include "RegTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace qmtest;

namespace {

constexpr std::string_view kHead4 =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
constexpr std::u16string_view kHead5 =
    u"Windows Registry Editor Version 5.00\r\n\r\n"
    u"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";

std::vector<uint8_t> File4(std::string_view valueLine)
{
    return Bytes(std::string(kHead4) + std::string(valueLine) + "\r\n");
}

std::vector<uint8_t> File5(std::u16string_view valueLine)
{
    return Utf16File(std::u16string(kHead5) + std::u16string(valueLine) + u"\r\n");
}

qm::RegValue Value(std::u16string_view name, uint32_t type, std::vector<uint8_t> data)
{
    return {W(kRunLm), W(name), type, std::move(data)};
}

struct EncodeCase {
    const char* label;
    qm::RegValue value;
    std::vector<uint8_t> expected;
};

std::vector<EncodeCase> EncodeCases()
{
    const std::u16string longText = std::u16string(4999, u'x') + u"\\";
    return {
        {"plain entry, byte for byte", Value(u"My App", qm::kRegSz, Sz(u"C:\\Progs\\app.exe /min")),
            Bytes("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                  "\"My App\"=\"C:\\\\Progs\\\\app.exe /min\"\r\n")},
        {"trailing backslash", Value(u"Tool", qm::kRegSz, Sz(u"C:\\Tools\\")),
            File4(R"("Tool"="C:\\Tools\\")")},
        {"quotes and backslashes in name and data",
            Value(u"a \"b\" \\c", qm::kRegSz, Sz(u"say \"hi\" \\\\srv\\x")),
            File4(R"("a \"b\" \\c"="say \"hi\" \\\\srv\\x")")},
        {"leading and trailing blanks kept", Value(u"  Spaced", qm::kRegSz, Sz(u"  run.exe ")),
            File4(R"("  Spaced"="  run.exe ")")},
        {"default value", Value(u"", qm::kRegSz, Sz(u"x")), File4(R"(@="x")")},
        {"text the ANSI code page holds: version 5 all the same", Value(u"Caf\u00e9", qm::kRegSz, Sz(u"\u20ac5")),
            File5(u"\"Caf\u00e9\"=\"\u20ac5\"")},
        {"expandable ASCII text as bytes", Value(u"p", qm::kRegExpandSz, Sz(u"%W%\\x")),
            File4(R"("p"=hex(2):25,57,25,5c,78,00)")},
        {"multi-string as ANSI bytes", Value(u"m", qm::kRegMultiSz, Utf16(std::u16string_view(u"a\0b\0\0", 5))),
            File4(R"("m"=hex(7):61,00,62,00,00)")},
        {"text with CR LF inside", Value(u"t", qm::kRegSz, Sz(u"a\r\nb")), File4(R"("t"=hex(1):61,0d,0a,62,00)")},
        {"text with a NUL inside", Value(u"t", qm::kRegSz, Sz(std::u16string_view(u"a\0b", 3))),
            File4(R"("t"=hex(1):61,00,62,00)")},
        {"dword", Value(u"d", qm::kRegDword, {0xEF, 0xBE, 0xAD, 0xDE}), File4(R"("d"=dword:deadbeef)")},
        {"small dword keeps eight digits", Value(u"d", qm::kRegDword, {0x2A, 0, 0, 0}), File4(R"("d"=dword:0000002a)")},
        {"dword of three bytes", Value(u"d", qm::kRegDword, {1, 2, 3}), File4(R"("d"=hex(4):01,02,03)")},
        {"binary", Value(u"b", qm::kRegBinary, {0xAB, 0x01}), File4(R"("b"=hex:ab,01)")},
        {"qword", Value(u"q", qm::kRegQword, {1, 2, 3, 4, 5, 6, 7, 0xFF}),
            File4(R"("q"=hex(b):01,02,03,04,05,06,07,ff)")},
        {"long binary wraps below 80 columns", Value(u"Blob", qm::kRegBinary, [] {
             std::vector<uint8_t> v;
             for (uint8_t i = 0; i < 70; ++i) {
                 v.push_back(i);
             }
             return v;
         }()),
            File4("\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
                  "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n"
                  "  2f,30,31,32,33,34,35,36,37,38,39,3a,3b,3c,3d,3e,3f,40,41,42,43,44,45")},
        {"5,000 characters on one line", Value(u"Long", qm::kRegSz, Sz(longText)),
            File4("\"Long\"=\"" + std::string(4999, 'x') + "\\\\\"")},
        {"Cyrillic name: version 5", Value(u"\u041f\u0440\u043e\u0433", qm::kRegSz, Sz(u"x")),
            File5(u"\"\u041f\u0440\u043e\u0433\"=\"x\"")},
        {"emoji in data: version 5", Value(u"Smile", qm::kRegSz, Sz(u"run \U0001F600.exe")),
            File5(u"\"Smile\"=\"run \U0001F600.exe\"")},
        {"expandable non-ASCII text as raw UTF-16", Value(u"p", qm::kRegExpandSz, Sz(u"\u00e9")),
            File5(u"\"p\"=hex(2):e9,00,00,00")},
        {"text without terminator as raw UTF-16", Value(u"t", qm::kRegSz, Utf16(u"ab")),
            File5(u"\"t\"=hex(1):61,00,62,00")},
        {"odd byte count as raw bytes", Value(u"t", qm::kRegSz, {0x61, 0x00, 0x62}), File5(u"\"t\"=hex(1):61,00,62")},
    };
}

TEST(RegFileEncode, WritesTheRegistryEditorsNotation)
{
    for (const auto& c : EncodeCases()) {
        SCOPED_TRACE(c.label);
        const auto bytes = qm::EncodeBackup({c.value});
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(c.expected.begin(), c.expected.end()));
    }
}

// Random values of every kind must come back from their own file with the same bytes.
class RandomValues {
public:
    explicit RandomValues(unsigned seed) : rng_(seed) {}

    qm::RegValue Next()
    {
        static constexpr std::u16string_view kKeys[] = {
            kRunLm,
            u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
            kRunCu,
            u"HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        };
        static constexpr uint32_t kTypes[] = {qm::kRegNone, qm::kRegSz, qm::kRegSz, qm::kRegSz, qm::kRegExpandSz,
            qm::kRegBinary, qm::kRegDword, qm::kRegMultiSz, qm::kRegQword};
        qm::RegValue value;
        value.keyPath = W(kKeys[Below(4)]);
        value.name = W(Text(Below(12), false));
        value.type = Below(20) == 0 ? static_cast<uint32_t>(rng_()) : kTypes[Below(std::size(kTypes))];
        if (value.type == qm::kRegSz || value.type == qm::kRegExpandSz || value.type == qm::kRegMultiSz) {
            std::u16string text = Text(Below(40), true);
            if (Below(10) != 0) {
                text += u'\0';
            }
            value.data = Utf16(text);
            if (Below(15) == 0) {
                value.data.push_back(static_cast<uint8_t>(rng_()));
            }
        } else {
            value.data.resize(value.type == qm::kRegDword && Below(4) != 0 ? 4 : Below(120));
            for (auto& b : value.data) {
                b = static_cast<uint8_t>(rng_());
            }
        }
        return value;
    }

private:
    size_t Below(size_t n) { return rng_() % n; }

    std::u16string Text(size_t length, bool controls)
    {
        static constexpr std::u16string_view kPlain = u"aZ9 \t\"\\=[];@%-,:\u00e9\u20ac\u0080\u0416\U0001F600\xD800";
        static constexpr std::u16string_view kControls(u"\r\n\0", 3);
        std::u16string text;
        while (text.size() < length) {
            if (controls && Below(8) == 0) {
                text += kControls[Below(kControls.size())];
            } else if (Below(2) == 0) {
                text += u"ab\\c"[Below(4)];
            } else {
                text += kPlain[Below(kPlain.size())];
            }
        }
        return text;
    }

    std::mt19937 rng_;
};

TEST(RegFileEncode, EveryValueComesBackFromItsFile)
{
    const Cp1252Codec codec;
    RandomValues values(20240601);
    for (int i = 0; i < 10000; ++i) {
        const qm::RegValue value = values.Next();
        const auto bytes = qm::EncodeBackup({value});
        const auto parsed = qm::ParseRegFile(bytes, codec);
        ASSERT_TRUE(parsed.file) << "case " << i << ": " << std::string(parsed.error.begin(), parsed.error.end());
        // A REGEDIT4 file reads the same in every code page.
        EXPECT_TRUE(parsed.file->format == qm::RegFileFormat::Version5
            || std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; }))
            << "case " << i;
        ASSERT_EQ(parsed.file->sections.size(), 1u) << "case " << i;
        const auto& section = parsed.file->sections[0];
        ASSERT_EQ(section.values.size(), 1u) << "case " << i;
        EXPECT_TRUE(qm::SameValue(value, section.values[0])) << "case " << i;
        EXPECT_EQ(section.values[0].data, value.data) << "case " << i;
        EXPECT_TRUE(qm::ValidateStartupBackup(*parsed.file).ok) << "case " << i;
    }
}

} // namespace
