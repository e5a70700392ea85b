#include "backup/RegFileFormat.h"

#include "backup/RegText.h"
#include "registry/StartupLocations.h"

#include <algorithm>
#include <string_view>

namespace qm {

using namespace regtext;

namespace {

constexpr std::wstring_view kCrLf = L"\r\n";
// Hex data lines stay below 80 characters, as the registry editor writes them.
constexpr size_t kMaxLine = 79;

// String data as text with its terminating NUL; nothing when the data lack one.
std::optional<std::wstring> TerminatedText(const RegValue& value)
{
    auto units = Utf16Units(value.data);
    if (!units || units->empty() || units->back() != L'\0') {
        return std::nullopt;
    }
    return units;
}

// REG_SZ text that a quoted string can carry: a quoted string cannot hold a line break, and
// the registry editor drops a value whose quoted text holds a NUL.
std::optional<std::wstring> QuotableText(const RegValue& value)
{
    if (value.type != kRegSz) {
        return std::nullopt;
    }
    auto text = TerminatedText(value);
    if (!text) {
        return std::nullopt;
    }
    text->pop_back();
    if (text->find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos) {
        return std::nullopt;
    }
    return text;
}

void AppendQuoted(std::wstring& out, std::wstring_view text)
{
    out += L'"';
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"') {
            out += L'\\';
        }
        out += c;
    }
    out += L'"';
}

constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

std::wstring LowerHex(uint32_t number, int minDigits)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), kHexDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    if (digits.size() < static_cast<size_t>(minDigits)) {
        digits.insert(0, minDigits - digits.size(), L'0');
    }
    return digits;
}

// Bytes as the registry editor writes them: "xx,xx,...", wrapped with ",\" and a two-blank
// indent so that no line reaches 80 characters. The first byte always shares the line
// with the value name.
void AppendHexBytes(std::wstring& line, const std::vector<uint8_t>& bytes)
{
    size_t column = line.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            line += L',';
            ++column;
            if (column + 4 > kMaxLine) { // room for "xx," and the continuation backslash
                line += L"\\\r\n  ";
                column = 2;
            }
        }
        line += kHexDigits[bytes[i] >> 4];
        line += kHexDigits[bytes[i] & 0xF];
        column += 2;
    }
}

// Every unit below 0x80: the same bytes in every ANSI code page.
bool IsAscii(std::wstring_view text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<uint32_t>(c) < 0x80; });
}

// The value line without its line end; nothing when the REGEDIT4 form cannot carry the data.
std::optional<std::wstring> ValueLine(const RegValue& value, RegFileFormat format)
{
    std::wstring line;
    if (value.name.empty()) {
        line = L"@";
    } else {
        AppendQuoted(line, value.name);
    }
    line += L'=';
    if (const auto text = QuotableText(value)) {
        AppendQuoted(line, *text);
        return line;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        const uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16)
            | (static_cast<uint32_t>(value.data[3]) << 24);
        line += L"dword:" + LowerHex(number, 8);
        return line;
    }
    std::vector<uint8_t> bytes = value.data;
    if (format == RegFileFormat::Regedit4 && IsStringType(value.type)) {
        // REGEDIT4 string hex data are ANSI bytes, which only ASCII spells alike in every code page.
        const auto text = TerminatedText(value);
        if (!text || !IsAscii(*text)) {
            return std::nullopt;
        }
        bytes.assign(text->begin(), text->end());
    }
    line += value.type == kRegBinary ? std::wstring(L"hex:") : L"hex(" + LowerHex(value.type, 1) + L"):";
    AppendHexBytes(line, bytes);
    return line;
}

// The header, then for each value an empty line, its [key] and its value line, each line
// ended by CR LF.
std::wstring FileText(std::wstring_view header, const std::vector<RegValue>& values,
    const std::vector<std::wstring>& valueLines)
{
    std::wstring text(header);
    text += kCrLf;
    for (size_t i = 0; i < values.size(); ++i) {
        text += kCrLf;
        text += L'[';
        text += values[i].keyPath;
        text += L']';
        text += kCrLf;
        text += valueLines[i];
        text += kCrLf;
    }
    return text;
}

void StripTrailingNuls(std::wstring& text)
{
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
}

// The one section of a Startup folder item's backup: the item's enabled state as a value of
// the folder's StartupApproved key, or, when it had none, the line that deletes that value;
// either names the file, which must stay inside the folder it is put back into.
BackupCheck ValidateFolderItemState(const RegSection& section)
{
    if (section.values.size() + section.deletedValues.size() != 1) {
        return {false, L"The key " + section.keyPath + L" holds more than the state of one Startup folder item."};
    }
    const std::wstring& name = section.values.empty() ? section.deletedValues.front() : section.values.front().name;
    if (!IsPlainFolderItemName(name)) {
        return {false, L"The name \"" + name + L"\" is not the name of a file in a Startup folder."};
    }
    return {true, {}};
}

} // namespace

std::vector<uint8_t> EncodeBackup(const std::vector<RegValue>& values)
{
    std::vector<std::wstring> lines;
    for (const RegValue& value : values) {
        if (auto line = ValueLine(value, RegFileFormat::Regedit4)) {
            lines.push_back(std::move(*line));
        }
    }
    if (lines.size() == values.size()) {
        const std::wstring text = FileText(kHeader4, values, lines);
        if (IsAscii(text)) {
            return std::vector<uint8_t>(text.begin(), text.end());
        }
    }
    lines.clear();
    for (const RegValue& value : values) {
        lines.push_back(ValueLine(value, RegFileFormat::Version5).value_or(std::wstring()));
    }
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    const auto text = Utf16Bytes(FileText(kHeader5, values, lines));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

BackupCheck ValidateStartupBackup(const RegFile& file)
{
    // A cut inside a value line can leave a shorter value that still reads: hex or dword
    // data ending early.
    if (!file.endsWithLineEnd) {
        return {false, L"The file ends in the middle of a line; it may have been cut short."};
    }
    if (file.sections.empty() || file.sections.size() > 2) {
        return {false, L"The file holds " + std::to_wstring(file.sections.size())
                + L" key sections; a backup holds one, or two with the entry's enabled state."};
    }
    if (const RegSection& only = file.sections.front(); file.sections.size() == 1 && !only.deleteKey) {
        if (const StartupKey* folder = FindKeyByApprovedPath(only.keyPath); folder && folder->IsFolder()) {
            return ValidateFolderItemState(only);
        }
    }
    for (const RegSection& section : file.sections) {
        if (section.deleteKey) {
            return {false, L"The file deletes the key " + section.keyPath + L"."};
        }
        if (!section.deletedValues.empty()) {
            return {false, L"The file deletes a value."};
        }
        if (section.values.size() != 1) {
            return {false, L"The key " + section.keyPath + L" holds " + std::to_wstring(section.values.size())
                    + L" values; a backup holds one."};
        }
    }
    const RegSection& run = file.sections.front();
    const StartupKey* key = FindStartupKey(run.keyPath);
    if (!key) {
        return {false, L"The key " + run.keyPath + L" is not one of the startup keys."};
    }
    if (file.sections.size() == 1) {
        return {true, {}};
    }
    // The second section can only be the enabled state of the one entry the first holds.
    const RegSection& approved = file.sections.back();
    if (FindKeyByApprovedPath(approved.keyPath) != key) {
        return {false, L"The key " + approved.keyPath + L" does not keep the state of " + run.keyPath + L"."};
    }
    if (approved.values[0].name != run.values[0].name) {
        return {false, L"The second section holds the enabled state of another entry than the first one."};
    }
    return {true, {}};
}

bool IsPlainFolderItemName(std::wstring_view name)
{
    constexpr size_t kLongestFileName = 255;
    if (name.empty() || name == L"." || name == L".." || name.size() > kLongestFileName) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
    });
}

std::wstring FolderItemFileName(const RegFile& file)
{
    const RegSection& section = file.sections.front();
    return section.values.empty() ? section.deletedValues.front() : section.values.front().name;
}

std::vector<uint8_t> EncodeStateDeletion(const std::wstring& keyPath, const std::wstring& name)
{
    std::wstring line;
    AppendQuoted(line, name);
    line += L"=-";
    const std::vector<RegValue> values = {{keyPath, name, kRegNone, {}}};
    const std::wstring text4 = FileText(kHeader4, values, {line});
    if (IsAscii(text4)) {
        return std::vector<uint8_t>(text4.begin(), text4.end());
    }
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    const auto text = Utf16Bytes(FileText(kHeader5, values, {line}));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

bool SameValue(const RegValue& stored, const RegValue& parsed)
{
    if (stored.keyPath != parsed.keyPath || stored.name != parsed.name || stored.type != parsed.type) {
        return false;
    }
    if (IsStringType(stored.type)) {
        auto a = Utf16Units(stored.data);
        auto b = Utf16Units(parsed.data);
        if (a && b) {
            StripTrailingNuls(*a);
            StripTrailingNuls(*b);
            return *a == *b;
        }
    }
    return stored.data == parsed.data;
}

} // namespace qm
