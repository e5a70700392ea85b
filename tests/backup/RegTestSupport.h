#pragma once

// Helpers for the .reg format tests. Text literals are written as char16_t so that the
// values are UTF-16 units on every host, as in the program.

#include "backup/RegFileFormat.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qmtest {

// Windows-1252 in a few lines, so that results do not depend on the machine's locale.
// Its five unassigned bytes map to the same code points, as the platform maps them.
class Cp1252Codec final : public qm::AnsiCodec {
public:
    std::wstring Decode(const std::string& bytes) const override
    {
        std::wstring text;
        for (char b : bytes) {
            const auto byte = static_cast<unsigned char>(b);
            text += static_cast<wchar_t>(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte);
        }
        return text;
    }

private:
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
};

inline std::wstring W(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

// UTF-16LE bytes of the text, without terminator.
inline std::vector<uint8_t> Utf16(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// REG_SZ data as the registry gives it: UTF-16LE with the terminating NUL.
inline std::vector<uint8_t> Sz(std::u16string_view text)
{
    auto bytes = Utf16(text);
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

inline std::vector<uint8_t> Bytes(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A version 5 file: byte-order mark and UTF-16LE text.
inline std::vector<uint8_t> Utf16File(std::u16string_view text)
{
    auto bytes = Utf16(text);
    bytes.insert(bytes.begin(), {0xFF, 0xFE});
    return bytes;
}

inline constexpr char16_t kRunLm[] = u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunCu[] = u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace qmtest
