#include "backup/RegFileFormat.h"

#include "backup/RegText.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace qm {

using namespace regtext;

namespace {

// One to eight hex digits from pos; pos ends after them.
bool ReadHexNumber(std::wstring_view line, size_t& pos, uint32_t& number)
{
    number = 0;
    size_t digits = 0;
    while (pos < line.size() && HexDigit(line[pos]) >= 0) {
        if (++digits > 8) {
            return false;
        }
        number = number << 4 | static_cast<uint32_t>(HexDigit(line[pos]));
        ++pos;
    }
    return digits > 0;
}

// Lines ended by CR LF, CR or LF, as the registry editor splits them.
class LineReader {
public:
    explicit LineReader(std::wstring_view text) : text_(text) {}

    bool Next(std::wstring_view& line)
    {
        if (pos_ >= text_.size()) {
            return false;
        }
        const size_t end = text_.find_first_of(L"\r\n", pos_);
        if (end == std::wstring_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
        } else {
            line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            if (text_[end] == L'\r' && pos_ < text_.size() && text_[pos_] == L'\n') {
                ++pos_;
            }
        }
        ++number_;
        return true;
    }

    size_t Number() const { return number_; }
    size_t Position() const { return pos_; }

private:
    std::wstring_view text_;
    size_t pos_ = 0;
    size_t number_ = 0;
};

class Parser {
public:
    Parser(std::wstring_view text, RegFileFormat format, const AnsiCodec& codec)
        : text_(text), lines_(text), format_(format), codec_(codec)
    {
    }

    RegFileParse Run()
    {
        if (!CheckNoNul() || !CheckHeader()) {
            return {std::nullopt, error_};
        }
        RegFile file;
        file.format = format_;
        file.endsWithLineEnd = text_.back() == L'\r' || text_.back() == L'\n';
        std::wstring_view line;
        while (lines_.Next(line)) {
            line = TrimLeft(line);
            if (line.empty() || line[0] == L';') {
                continue;
            }
            bool ok = false;
            if (line[0] == L'[') {
                ok = Section(line, file);
            } else if (line[0] == L'"' || line[0] == L'@') {
                if (file.sections.empty()) {
                    ok = Fail(L"a value comes before any key line");
                } else if (file.sections.back().deleteKey) {
                    ok = Fail(L"a value follows a key line that deletes the key");
                } else {
                    ok = Value(line, file.sections.back());
                }
            } else {
                ok = Fail(L"the line is neither a key, a value nor a comment");
            }
            if (!ok) {
                return {std::nullopt, error_};
            }
        }
        return {std::move(file), {}};
    }

private:
    bool Fail(const std::wstring& why)
    {
        error_ = L"Line " + std::to_wstring(lines_.Number()) + L": " + why + L".";
        return false;
    }

    // Each registry editor reads a line only up to a NUL, so the rest of it would be lost.
    bool CheckNoNul()
    {
        const size_t nul = text_.find(L'\0');
        if (nul == std::wstring_view::npos) {
            return true;
        }
        std::wstring_view line;
        while (lines_.Next(line) && lines_.Position() <= nul) {
        }
        return Fail(L"the line holds a NUL character");
    }

    bool CheckHeader()
    {
        const std::wstring_view expected = format_ == RegFileFormat::Regedit4 ? kHeader4 : kHeader5;
        const std::wstring_view other = format_ == RegFileFormat::Regedit4 ? kHeader5 : kHeader4;
        std::wstring_view line;
        if (!lines_.Next(line)) {
            error_ = L"The file is empty.";
            return false;
        }
        line = TrimRight(line);
        if (line == expected) {
            return true;
        }
        if (line == other) {
            return Fail(format_ == RegFileFormat::Regedit4
                    ? L"a version 5 header needs UTF-16 text with a byte-order mark"
                    : L"a REGEDIT4 header needs ANSI text without a byte-order mark");
        }
        return Fail(L"the file does not start with the header \"" + std::wstring(expected) + L"\"");
    }

    bool Section(std::wstring_view line, RegFile& file)
    {
        const size_t close = line.rfind(L']');
        if (close == std::wstring_view::npos) {
            return Fail(L"the key line has no closing bracket");
        }
        if (!TrimLeft(line.substr(close + 1)).empty()) {
            return Fail(L"text follows the closing bracket of the key line");
        }
        std::wstring_view path = line.substr(1, close - 1);
        RegSection section;
        if (!path.empty() && path[0] == L'-') {
            section.deleteKey = true;
            path.remove_prefix(1);
        }
        if (!CheckKeyPath(path)) {
            return false;
        }
        section.keyPath = path;
        file.sections.push_back(std::move(section));
        return true;
    }

    bool CheckKeyPath(std::wstring_view path)
    {
        if (path.empty()) {
            return Fail(L"the key line names no key");
        }
        size_t start = 0;
        for (;;) {
            const size_t end = path.find(L'\\', start);
            const size_t length = (end == std::wstring_view::npos ? path.size() : end) - start;
            if (length == 0) {
                return Fail(L"the key path holds an empty key name");
            }
            if (length > kMaxKeyName) {
                return Fail(L"a key name of the path is longer than " + std::to_wstring(kMaxKeyName) + L" characters");
            }
            if (end == std::wstring_view::npos) {
                return true;
            }
            start = end + 1;
        }
    }

    bool Value(std::wstring_view line, RegSection& section)
    {
        size_t pos = 1;
        std::wstring name;
        if (line[0] == L'"') {
            pos = 0;
            if (!ReadQuoted(line, pos, name, L"the value name")) {
                return false;
            }
            if (name.size() > kMaxValueName) {
                return Fail(L"the value name is longer than " + std::to_wstring(kMaxValueName) + L" characters");
            }
        }
        pos = SkipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != L'=') {
            return Fail(L"the value name is not followed by \"=\"");
        }
        pos = SkipBlanks(line, pos + 1);
        if (TrimRight(line.substr(pos)) == L"-") {
            section.deletedValues.push_back(std::move(name));
            return true;
        }
        RegValue value{section.keyPath, std::move(name), kRegNone, {}};
        if (!Data(line, pos, value)) {
            return false;
        }
        section.values.push_back(std::move(value));
        return true;
    }

    bool Data(std::wstring_view line, size_t pos, RegValue& value)
    {
        const std::wstring_view rest = line.substr(pos);
        if (!rest.empty() && rest[0] == L'"') {
            std::wstring text;
            if (!ReadQuoted(line, pos, text, L"the value data")) {
                return false;
            }
            if (!TrimLeft(line.substr(pos)).empty()) {
                return Fail(L"text follows the closing quote of the value data");
            }
            text += L'\0';
            value.type = kRegSz;
            value.data = Utf16Bytes(text);
            return true;
        }
        if (StartsWithNoCase(rest, L"dword:")) {
            pos += 6;
            uint32_t number = 0;
            if (!ReadHexNumber(line, pos, number) || !TrimLeft(line.substr(pos)).empty()) {
                return Fail(L"dword: is not followed by one to eight hex digits");
            }
            value.type = kRegDword;
            value.data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
            return true;
        }
        if (StartsWithNoCase(rest, L"hex:")) {
            pos += 4;
            value.type = kRegBinary;
        } else if (StartsWithNoCase(rest, L"hex(")) {
            pos += 4;
            if (!ReadHexNumber(line, pos, value.type) || line.substr(pos, 2) != L"):") {
                return Fail(L"hex( is not followed by a type of one to eight hex digits and \"):\"");
            }
            pos += 2;
        } else {
            return Fail(L"the value data are neither quoted text nor dword: nor hex data");
        }
        if (!HexBytes(line, pos, value.data)) {
            return false;
        }
        if (format_ == RegFileFormat::Regedit4 && IsStringType(value.type)) {
            value.data = Utf16Bytes(codec_.Decode(std::string(value.data.begin(), value.data.end())));
        }
        return true;
    }

    // Quoted text from line[pos]; pos ends after the closing quote. \\ and \" are escapes;
    // any other backslash pair stays as it is, as the registry editor keeps it, except those
    // that one editor reads as a control character and another keeps.
    bool ReadQuoted(std::wstring_view line, size_t& pos, std::wstring& out, const std::wstring& what)
    {
        for (size_t i = pos + 1; i < line.size(); ++i) {
            const wchar_t c = line[i];
            if (c == L'"') {
                pos = i + 1;
                return true;
            }
            if (c != L'\\') {
                out += c;
                continue;
            }
            if (++i == line.size()) {
                break;
            }
            const wchar_t next = line[i];
            if (next == L'\\' || next == L'"') {
                out += next;
            } else if (next == L'n' || next == L'r' || next == L'0') {
                return Fail(what + L" holds the escape \\" + next + L", which registry editors read differently");
            } else {
                out += L'\\';
                out += next;
            }
        }
        return Fail(what + L" has no closing quote");
    }

    // Comma-separated two-digit bytes; a backslash that ends a line continues them on the next.
    bool HexBytes(std::wstring_view line, size_t pos, std::vector<uint8_t>& bytes)
    {
        bool needByte = false;
        for (;;) {
            pos = SkipBlanks(line, pos);
            if (pos < line.size() && line[pos] == L'\\' && (bytes.empty() || needByte)
                && TrimLeft(line.substr(pos + 1)).empty()) {
                if (!lines_.Next(line)) {
                    return Fail(L"the hex data continue past the end of the file");
                }
                pos = 0;
                needByte = true;
                continue;
            }
            if (pos >= line.size()) {
                return !needByte || Fail(L"the hex data end where a byte is expected");
            }
            const int high = HexDigit(line[pos]);
            const int low = pos + 1 < line.size() ? HexDigit(line[pos + 1]) : -1;
            if (high < 0 || low < 0) {
                return Fail(L"the hex data hold something other than two-digit hex bytes");
            }
            bytes.push_back(static_cast<uint8_t>(high << 4 | low));
            pos = SkipBlanks(line, pos + 2);
            if (pos >= line.size()) {
                return true;
            }
            if (line[pos] != L',') {
                return Fail(L"the hex bytes are not separated by commas");
            }
            ++pos;
            needByte = true;
        }
    }

    std::wstring_view text_;
    LineReader lines_;
    RegFileFormat format_;
    const AnsiCodec& codec_;
    std::wstring error_;
};

RegFileParse Refuse(const wchar_t* why)
{
    return {std::nullopt, why};
}

} // namespace

RegFileParse ParseRegFile(const std::vector<uint8_t>& bytes, const AnsiCodec& codec)
{
    const auto startsWith = [&bytes](std::initializer_list<uint8_t> prefix) {
        return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
    };
    if (bytes.empty()) {
        return Refuse(L"The file is empty.");
    }
    if (startsWith({0xEF, 0xBB, 0xBF})) {
        return Refuse(L"The file is UTF-8 text; registry files are ANSI or UTF-16LE text.");
    }
    if (startsWith({0xFE, 0xFF})) {
        return Refuse(L"The file is big-endian UTF-16 text; registry files are ANSI or UTF-16LE text.");
    }
    if (startsWith({0xFF, 0xFE})) {
        const auto text = Utf16Units(bytes.data() + 2, bytes.size() - 2);
        if (!text) {
            return Refuse(L"The UTF-16 text ends in half a character.");
        }
        return Parser(*text, RegFileFormat::Version5, codec).Run();
    }
    const std::wstring text = codec.Decode(std::string(bytes.begin(), bytes.end()));
    return Parser(text, RegFileFormat::Regedit4, codec).Run();
}

} // namespace qm
