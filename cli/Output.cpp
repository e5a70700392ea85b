#include "cli/Output.h"

#include <algorithm>
#include <array>

namespace qm::cli {

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kColumnGap[] = L"  ";
// Wider table cells are cut, so that a 300-character command line does not push every other
// column off the screen.
constexpr std::size_t kWidestCell = 60;
constexpr wchar_t kCutMark = L'\u2026';

struct Range {
    char32_t first;
    char32_t last;
};

constexpr std::array<Range, 5> kZeroWidth = {{
    {0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xE0100, 0xE01EF}}};
constexpr std::array<Range, 10> kDoubleWidth = {{{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0xA4CF},
    {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6},
    {0x1F300, 0x1FAFF}, {0x20000, 0x3FFFD}}};

bool InRanges(char32_t cp, const auto& ranges)
{
    return std::any_of(ranges.begin(), ranges.end(), [cp](const Range& r) { return cp >= r.first && cp <= r.last; });
}

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at text[pos], advancing pos; a lone surrogate stands for itself.
char32_t NextCodePoint(std::wstring_view text, std::size_t& pos)
{
    const wchar_t c = text[pos++];
    if (IsHighSurrogate(c) && pos < text.size() && IsLowSurrogate(text[pos]))
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[pos++]) - 0xDC00);
    return c;
}

bool IsControl(wchar_t c)
{
    return c < 0x20 || c == 0x7F;
}

std::wstring TableText(const Cell& cell)
{
    // An empty text (the default value's name) is not left blank, so that no column looks shifted.
    if (const auto* text = std::get_if<std::wstring>(&cell))
        return text->empty() ? L"\"\"" : OneLine(*text);
    if (const auto* flag = std::get_if<bool>(&cell))
        return *flag ? L"yes" : L"no";
    return L"-";
}

std::size_t CellWidth(char32_t cp)
{
    return InRanges(cp, kZeroWidth) ? 0 : InRanges(cp, kDoubleWidth) ? 2 : 1;
}

// The text cut to kWidestCell cells, its last one the cut mark; a surrogate pair stays whole.
std::wstring Cut(const std::wstring& text)
{
    if (DisplayWidth(text) <= kWidestCell)
        return text;
    std::size_t width = 0;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        width += CellWidth(NextCodePoint(text, pos));
        if (width >= kWidestCell)
            break;
        end = pos;
    }
    return text.substr(0, end) + kCutMark;
}

std::wstring FormatTable(const Records& records, bool wide)
{
    std::vector<std::vector<std::wstring>> lines;
    lines.emplace_back(records.fields.begin(), records.fields.end());
    for (const auto& row : records.rows) {
        auto& line = lines.emplace_back();
        for (const Cell& cell : row)
            line.push_back(wide ? TableText(cell) : Cut(TableText(cell)));
    }
    std::vector<std::size_t> widths(records.fields.size());
    for (const auto& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    }
    std::wstring out;
    for (const auto& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            out += line[i];
            // The last column is not padded: no trailing blanks.
            if (i + 1 < line.size())
                out.append(widths[i] - DisplayWidth(line[i]), L' ').append(kColumnGap);
        }
        out += kLineEnd;
    }
    return out;
}

std::wstring CsvField(const Cell& cell)
{
    if (const auto* flag = std::get_if<bool>(&cell))
        return *flag ? L"true" : L"false";
    const auto* text = std::get_if<std::wstring>(&cell);
    if (!text)
        return {};
    if (text->find_first_of(L",\"\r\n") == std::wstring::npos)
        return *text;
    std::wstring quoted = L"\"";
    for (const wchar_t c : *text) {
        if (c == L'"')
            quoted += L'"';
        quoted += c;
    }
    return quoted + L'"';
}

std::wstring FormatCsv(const Records& records)
{
    std::wstring out;
    const auto appendRecord = [&out](const auto& cells, auto toField) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += L',';
            out += toField(cells[i]);
        }
        out += kLineEnd;
    };
    appendRecord(records.fields, [](const wchar_t* field) { return std::wstring(field); });
    for (const auto& row : records.rows)
        appendRecord(row, CsvField);
    return out;
}

void AppendJsonString(std::wstring& out, std::wstring_view text)
{
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    out += L'"';
    for (const wchar_t c : text) {
        switch (c) {
        case L'"': out += L"\\\""; break;
        case L'\\': out += L"\\\\"; break;
        case L'\b': out += L"\\b"; break;
        case L'\f': out += L"\\f"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += c;
            } else {
                // UTF-16 units as they are: a pair gives the pair's escapes, a lone surrogate
                // stays an escape that JSON readers accept.
                const auto unit = static_cast<unsigned>(c);
                out += L"\\u";
                for (int shift = 12; shift >= 0; shift -= 4)
                    out += kHex[(unit >> shift) & 0xF];
            }
        }
    }
    out += L'"';
}

std::wstring FormatJson(const Records& records)
{
    if (records.rows.empty())
        return std::wstring(L"[]") + kLineEnd;
    std::wstring out = std::wstring(L"[") + kLineEnd;
    for (std::size_t r = 0; r < records.rows.size(); ++r) {
        out += L"  {";
        const auto& row = records.rows[r];
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += L", ";
            AppendJsonString(out, records.fields[i]);
            out += L": ";
            if (const auto* text = std::get_if<std::wstring>(&row[i]))
                AppendJsonString(out, *text);
            else if (const auto* flag = std::get_if<bool>(&row[i]))
                out += *flag ? L"true" : L"false";
            else
                out += L"null";
        }
        out += r + 1 < records.rows.size() ? L"}," : L"}";
        out += kLineEnd;
    }
    return out + L"]" + kLineEnd;
}

} // namespace

std::wstring FormatRecords(const Records& records, Format format, bool wide)
{
    switch (format) {
    case Format::Csv: return FormatCsv(records);
    case Format::Json: return FormatJson(records);
    case Format::Table: break;
    }
    return FormatTable(records, wide);
}

std::size_t DisplayWidth(std::wstring_view text)
{
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        width += CellWidth(NextCodePoint(text, pos));
    }
    return width;
}

std::wstring OneLine(std::wstring_view text)
{
    std::wstring line(text);
    for (wchar_t& c : line) {
        // U+2400 to U+241F picture the C0 controls, U+2421 DEL.
        if (IsControl(c))
            c = c == 0x7F ? wchar_t{0x2421} : static_cast<wchar_t>(0x2400 + c);
    }
    return line;
}

} // namespace qm::cli
