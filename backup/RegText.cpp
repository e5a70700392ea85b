#include "backup/RegText.h"

namespace qm::regtext {

namespace {

constexpr std::wstring_view kBlanks = L" \t";

} // namespace

// Each wchar_t holds one UTF-16 unit; a wider wchar_t (other hosts) keeps the low 16 bits.
std::vector<uint8_t> Utf16Bytes(std::wstring_view units)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (wchar_t c : units) {
        const auto unit = static_cast<uint16_t>(c);
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::optional<std::wstring> Utf16Units(const uint8_t* bytes, size_t count)
{
    if (count % 2 != 0) {
        return std::nullopt;
    }
    std::wstring units(count / 2, L'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return units;
}

std::optional<std::wstring> Utf16Units(const std::vector<uint8_t>& bytes)
{
    return Utf16Units(bytes.data(), bytes.size());
}

std::wstring_view TrimLeft(std::wstring_view text)
{
    const size_t start = text.find_first_not_of(kBlanks);
    return start == std::wstring_view::npos ? std::wstring_view() : text.substr(start);
}

std::wstring_view TrimRight(std::wstring_view text)
{
    const size_t end = text.find_last_not_of(kBlanks);
    return end == std::wstring_view::npos ? std::wstring_view() : text.substr(0, end + 1);
}

size_t SkipBlanks(std::wstring_view line, size_t pos)
{
    while (pos < line.size() && (line[pos] == L' ' || line[pos] == L'\t')) {
        ++pos;
    }
    return pos;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

} // namespace qm::regtext
