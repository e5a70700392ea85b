#include "cli/ListingReader.h"

#include "host/TextEncoding.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <map>

namespace qm::cli {

namespace {

using Object = std::map<std::wstring, Cell>;

// The text of the file; nothing when it is neither UTF-8 nor marked UTF-16LE.
std::optional<std::wstring> DecodeText(std::string_view bytes)
{
    std::wstring text;
    if (bytes.starts_with("\xFF\xFE")) {
        if (bytes.size() % 2 != 0)
            return std::nullopt;
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto cp = DecodeUtf8(bytes, pos);
        if (!cp)
            return std::nullopt;
        AppendCodePoint(text, *cp);
    }
    return text;
}

// A recursive-descent reader for the JSON the listing writer makes: one array of flat objects.
class JsonReader {
public:
    explicit JsonReader(std::wstring_view text) : text_(text) {}

    [[nodiscard]] std::optional<std::vector<Object>> ReadArray()
    {
        std::vector<Object> objects;
        if (!Expect(L'['))
            return std::nullopt;
        if (!Peek(L']')) {
            do {
                auto object = ReadObject();
                if (!object)
                    return std::nullopt;
                objects.push_back(std::move(*object));
            } while (Accept(L','));
        }
        if (!Expect(L']'))
            return std::nullopt;
        SkipBlanks();
        if (pos_ != text_.size())
            return Fault(L"text after the end of the listing");
        return objects;
    }

    const std::wstring& Error() const { return error_; }

private:
    [[nodiscard]] std::optional<Object> ReadObject()
    {
        Object object;
        if (!Expect(L'{'))
            return std::nullopt;
        if (!Peek(L'}')) {
            do {
                SkipBlanks();
                const std::size_t at = pos_;
                auto name = ReadString();
                if (!name || !Expect(L':'))
                    return std::nullopt;
                auto value = ReadValue();
                if (!value)
                    return std::nullopt;
                if (!object.emplace(std::move(*name), std::move(*value)).second)
                    return FaultAt(at, L"a field given twice");
            } while (Accept(L','));
        }
        if (!Expect(L'}'))
            return std::nullopt;
        return object;
    }

    [[nodiscard]] std::optional<Cell> ReadValue()
    {
        SkipBlanks();
        if (Peek(L'"')) {
            auto text = ReadString();
            return text ? std::optional<Cell>(std::move(*text)) : std::nullopt;
        }
        for (const auto& [word, cell] : {std::pair<std::wstring_view, Cell>{L"true", true}, {L"false", false}, {L"null", NoValue{}}}) {
            if (text_.substr(pos_, word.size()) == word) {
                pos_ += word.size();
                return cell;
            }
        }
        if (pos_ < text_.size() && (text_[pos_] == L'{' || text_[pos_] == L'['))
            return Fault(L"a listing's values are never objects or arrays");
        if (pos_ < text_.size() && (text_[pos_] == L'-' || (text_[pos_] >= L'0' && text_[pos_] <= L'9')))
            return Fault(L"a listing's values are never numbers");
        return Fault(L"expected a value");
    }

    [[nodiscard]] std::optional<std::wstring> ReadString()
    {
        if (!Expect(L'"'))
            return std::nullopt;
        std::wstring text;
        while (pos_ < text_.size()) {
            const wchar_t c = text_[pos_];
            if (c == L'"') {
                ++pos_;
                return text;
            }
            if (c < 0x20)
                return Fault(L"a control character inside a string");
            ++pos_;
            if (c != L'\\') {
                text += c;
                continue;
            }
            if (pos_ >= text_.size())
                break;
            const wchar_t escape = text_[pos_++];
            constexpr std::wstring_view kEscapes = L"\"\\/bfnrt";
            constexpr std::wstring_view kMeanings = L"\"\\/\b\f\n\r\t";
            if (const auto i = kEscapes.find(escape); i != std::wstring_view::npos) {
                text += kMeanings[i];
            } else if (escape == L'u') {
                // A UTF-16 unit as it is: the writer escapes lone surrogates too.
                unsigned unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = pos_ < text_.size() ? HexDigit(text_[pos_]) : -1;
                    if (digit < 0)
                        return Fault(L"\\u needs four hex digits");
                    unit = unit * 16 + static_cast<unsigned>(digit);
                    ++pos_;
                }
                text += static_cast<wchar_t>(unit);
            } else {
                --pos_;
                return Fault(L"an unknown escape in a string");
            }
        }
        return Fault(L"a string without its closing quote");
    }

    void SkipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == L' ' || text_[pos_] == L'\t' || text_[pos_] == L'\r' || text_[pos_] == L'\n'))
            ++pos_;
    }

    bool Peek(wchar_t c)
    {
        SkipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    bool Accept(wchar_t c)
    {
        if (!Peek(c))
            return false;
        ++pos_;
        return true;
    }

    [[nodiscard]] bool Expect(wchar_t c)
    {
        if (Accept(c))
            return true;
        Fault(std::wstring(L"expected '") + c + L"'" + (pos_ >= text_.size() ? L", found the end of the text" : L""));
        return false;
    }

    std::nullopt_t Fault(const std::wstring& what) { return FaultAt(pos_, what); }

    std::nullopt_t FaultAt(std::size_t at, const std::wstring& what)
    {
        if (!error_.empty())
            return std::nullopt;
        const std::wstring_view before = text_.substr(0, at);
        const auto line = std::count(before.begin(), before.end(), L'\n') + 1;
        const auto lineStart = before.find_last_of(L'\n');
        const auto column = at - (lineStart == std::wstring_view::npos ? 0 : lineStart + 1) + 1;
        error_ = L"line " + std::to_wstring(line) + L", column " + std::to_wstring(column) + L": " + what;
        return std::nullopt;
    }

    std::wstring_view text_;
    std::size_t pos_ = 0;
    std::wstring error_;
};

constexpr std::array<const wchar_t*, 5> kTextFields = {L"location", L"key", L"name", L"type", L"command"};

// The entry an object describes, or why it is not one.
std::optional<ListedEntry> EntryOf(const Object& object, std::wstring& error)
{
    std::array<const std::wstring*, kTextFields.size()> texts{};
    for (std::size_t i = 0; i < kTextFields.size(); ++i) {
        const auto field = object.find(kTextFields[i]);
        texts[i] = field == object.end() ? nullptr : std::get_if<std::wstring>(&field->second);
        if (!texts[i]) {
            error = std::wstring(L"\"") + kTextFields[i] + L"\" is missing or not a string";
            return std::nullopt;
        }
    }
    const auto enabled = object.find(L"enabled");
    const bool* flag = enabled == object.end() ? nullptr : std::get_if<bool>(&enabled->second);
    if (!flag) {
        error = L"\"enabled\" is missing or not true or false";
        return std::nullopt;
    }
    const StartupKey* location = FindStartupKeyByName(*texts[0]);
    if (!location) {
        error = L"\"" + OneLine(*texts[0]) + L"\" is not a location";
        return std::nullopt;
    }
    return ListedEntry{location, *texts[1], *texts[2], *texts[3], *flag, *texts[4]};
}

int CompareNoCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) - CSTR_EQUAL;
}

} // namespace

ListingRead ReadListing(std::string_view bytes)
{
    const auto text = DecodeText(bytes);
    if (!text)
        return {std::nullopt, L"not UTF-8 text, nor UTF-16 with a byte-order mark"};
    JsonReader reader(*text);
    const auto objects = reader.ReadArray();
    if (!objects)
        return {std::nullopt, reader.Error()};
    std::vector<ListedEntry> entries;
    for (std::size_t i = 0; i < objects->size(); ++i) {
        std::wstring error;
        auto entry = EntryOf((*objects)[i], error);
        if (!entry)
            return {std::nullopt, L"entry " + std::to_wstring(i + 1) + L": " + error};
        entries.push_back(std::move(*entry));
    }
    // The registry holds one value of a name in a key, whatever its case.
    std::vector<const ListedEntry*> sorted;
    for (const ListedEntry& entry : entries)
        sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [](const ListedEntry* a, const ListedEntry* b) { return CompareIdentity(*a, *b) < 0; });
    const auto twice = std::adjacent_find(sorted.begin(), sorted.end(), [](const ListedEntry* a, const ListedEntry* b) {
        return CompareIdentity(*a, *b) == 0;
    });
    if (twice != sorted.end())
        return {std::nullopt, L"the entry \"" + OneLine((*twice)->name) + L"\" of " + (*twice)->location->name + L" is listed twice"};
    return {std::move(entries), {}};
}

int CompareIdentity(const ListedEntry& a, const ListedEntry& b)
{
    if (a.location != b.location)
        return a.location < b.location ? -1 : 1;
    if (const int key = CompareNoCase(a.key, b.key); key != 0)
        return key;
    return CompareNoCase(a.name, b.name);
}

std::vector<ListedEntry> ListedEntries(const Records& records)
{
    const auto column = [&records](std::wstring_view field) {
        return static_cast<std::size_t>(std::find(records.fields.begin(), records.fields.end(), field) - records.fields.begin());
    };
    const auto text = [](const Cell& cell) {
        const auto* value = std::get_if<std::wstring>(&cell);
        return value ? *value : std::wstring();
    };
    std::vector<ListedEntry> entries;
    for (const auto& row : records.rows) {
        const bool* enabled = std::get_if<bool>(&row[column(L"enabled")]);
        entries.push_back({FindStartupKeyByName(text(row[column(L"location")])), text(row[column(L"key")]), text(row[column(L"name")]),
            text(row[column(L"type")]), !enabled || *enabled, text(row[column(L"command")])});
    }
    return entries;
}

} // namespace qm::cli
