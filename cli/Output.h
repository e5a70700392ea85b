#pragma once

// The three ways the command line prints records: aligned text for people, CSV (RFC 4180) and
// JSON for programs. Windowless text code; the caller writes the result out.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::cli {

enum class Format { Table, Csv, Json };

// A field's value: text, a yes/no, or nothing known (JSON null, an empty CSV field).
struct NoValue {};
using Cell = std::variant<std::wstring, bool, NoValue>;

struct Records {
    std::vector<const wchar_t*> fields; // names as CSV headers and JSON keys give them
    std::vector<std::vector<Cell>> rows;
};

// The whole output, lines ended by CR LF. The table shows an empty text as "" and nothing as
// "-", and cuts a cell wider than 60 characters with "\u2026" unless it is wide. JSON is plain ASCII (everything else as \u escapes), so it survives any code page a
// shell reads it in, lone surrogates included.
std::wstring FormatRecords(const Records& records, Format format, bool wide);

// How many console cells a text takes: wide East Asian characters and emoji two, combining
// marks none.
std::size_t DisplayWidth(std::wstring_view text);

// Text shown on one line: each control character becomes its visible picture (U+2400...).
std::wstring OneLine(std::wstring_view text);

} // namespace qm::cli
