#pragma once

// Reading the text codings of the file formats (UTF-8, base64, hex digits); free of the
// platform headers.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Appends a code point to a wide string, as a surrogate pair where wchar_t has 16 bits.
void AppendCodePoint(std::wstring& out, char32_t cp);
// One UTF-8 sequence starting at text[pos]; advances pos. Nothing for malformed input
// (overlong forms, surrogates, values beyond Unicode, cut-off sequences).
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos);

// The value of a hex digit of either case, or -1.
constexpr int HexDigit(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    return -1;
}

// Case-insensitive for ASCII letters only: keywords of the file formats and registry key
// paths are ASCII.
constexpr bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

// Strict: the standard alphabet, padded to a multiple of four characters.
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

} // namespace qm
