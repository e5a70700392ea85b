#pragma once

// UTF-8 and base64 for the stored-layout text; free of the platform headers.

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
void AppendUtf8(std::string& out, char32_t cp);

std::string Base64Encode(const std::vector<std::uint8_t>& bytes);
// Strict: the standard alphabet, padded to a multiple of four characters.
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

} // namespace qm
