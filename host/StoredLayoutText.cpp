#include "host/StoredLayoutText.h"

#include "host/TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qm {

namespace {

// Sizes are kept to four decimals, as the stored fonts of the windows need (8.25).
constexpr double kSizeScale = 10000.0;
constexpr std::size_t kMaxNameLength = 255;

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view word)
{
    if (word.empty() || word.size() > kMaxNameLength || (word[0] >= '0' && word[0] <= '9'))
        return false;
    for (char c : word) {
        if (!IsNameChar(c))
            return false;
    }
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::wstring Widen(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// Reads the items of one line, left to right.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool AtEnd()
    {
        SkipBlanks();
        return rest_.empty();
    }

    std::optional<std::string_view> Word()
    {
        SkipBlanks();
        std::size_t n = 0;
        while (n < rest_.size() && !IsBlank(rest_[n]) && rest_[n] != '"')
            ++n;
        if (n == 0)
            return std::nullopt;
        const auto word = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return word;
    }

    std::optional<std::string_view> Name()
    {
        auto word = Word();
        return (word && IsName(*word)) ? word : std::nullopt;
    }

    std::optional<std::int32_t> Integer()
    {
        const auto word = Word();
        if (!word)
            return std::nullopt;
        std::string_view digits = *word;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            digits.remove_prefix(2);
            if (digits.size() > 8)
                return std::nullopt;
            std::uint32_t value = 0;
            for (char c : digits) {
                const int d = HexDigit(c);
                if (d < 0)
                    return std::nullopt;
                value = (value << 4) | static_cast<std::uint32_t>(d);
            }
            return static_cast<std::int32_t>(value);
        }
        const bool negative = !digits.empty() && digits[0] == '-';
        if (negative)
            digits.remove_prefix(1);
        if (digits.empty() || digits.size() > 10)
            return std::nullopt;
        long long value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (negative)
            value = -value;
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(value);
    }

    // A positive decimal with up to four fraction digits.
    std::optional<double> Size()
    {
        const auto word = Word();
        if (!word)
            return std::nullopt;
        long long whole = 0;
        long long fraction = 0;
        int fractionDigits = -1;
        int wholeDigits = 0;
        for (char c : *word) {
            if (c == '.' && fractionDigits < 0) {
                fractionDigits = 0;
                continue;
            }
            if (c < '0' || c > '9')
                return std::nullopt;
            if (fractionDigits < 0) {
                if (++wholeDigits > 5)
                    return std::nullopt;
                whole = whole * 10 + (c - '0');
            } else {
                if (++fractionDigits > 4)
                    return std::nullopt;
                fraction = fraction * 10 + (c - '0');
            }
        }
        if (wholeDigits == 0 || fractionDigits == 0)
            return std::nullopt;
        for (int i = std::max(fractionDigits, 0); i < 4; ++i)
            fraction *= 10;
        const double size = static_cast<double>(whole * 10000 + fraction) / kSizeScale;
        if (!IsValidFontSize(size))
            return std::nullopt;
        return size;
    }

    std::optional<std::wstring> Quoted()
    {
        SkipBlanks();
        if (rest_.empty() || rest_[0] != '"')
            return std::nullopt;
        std::wstring out;
        std::size_t pos = 1;
        while (pos < rest_.size()) {
            const char c = rest_[pos];
            if (c == '"') {
                rest_.remove_prefix(pos + 1);
                // A quoted text ends the item: something must separate it from the next.
                if (!rest_.empty() && !IsBlank(rest_[0]))
                    return std::nullopt;
                return out;
            }
            if (c == '\\') {
                if (pos + 1 >= rest_.size())
                    return std::nullopt;
                const char e = rest_[pos + 1];
                pos += 2;
                switch (e) {
                case '"': out.push_back(L'"'); break;
                case '\\': out.push_back(L'\\'); break;
                case 'n': out.push_back(L'\n'); break;
                case 'r': out.push_back(L'\r'); break;
                case 't': out.push_back(L'\t'); break;
                case 'u': {
                    if (rest_.size() - pos < 4)
                        return std::nullopt;
                    unsigned unit = 0;
                    for (int i = 0; i < 4; ++i) {
                        const int d = HexDigit(rest_[pos + i]);
                        if (d < 0)
                            return std::nullopt;
                        unit = (unit << 4) | static_cast<unsigned>(d);
                    }
                    pos += 4;
                    out.push_back(static_cast<wchar_t>(unit));
                    break;
                }
                default: return std::nullopt;
                }
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            const auto cp = DecodeUtf8(rest_, pos);
            if (!cp)
                return std::nullopt;
            AppendCodePoint(out, *cp);
        }
        return std::nullopt;
    }

private:
    void SkipBlanks()
    {
        while (!rest_.empty() && IsBlank(rest_.front()))
            rest_.remove_prefix(1);
    }

    std::string_view rest_;
};

std::optional<PictureData> ReadPicture(LineReader& reader)
{
    PictureData picture;
    const auto type = reader.Word();
    if (type == "icon")
        picture.type = PictureData::Type::Icon;
    else if (type == "bitmap")
        picture.type = PictureData::Type::Bitmap;
    else
        return std::nullopt;
    const auto origin = reader.Word();
    if (origin == "resource" || origin == "system-cursor") {
        if (origin == "system-cursor" && picture.type != PictureData::Type::Icon)
            return std::nullopt;
        picture.origin = origin == "resource" ? PictureData::Origin::Resource : PictureData::Origin::SystemCursor;
        const auto id = reader.Integer();
        if (!id || *id <= 0 || *id > 0xFFFF)
            return std::nullopt;
        picture.resourceId = *id;
    } else if (origin == "data") {
        picture.origin = PictureData::Origin::Bytes;
        const auto text = reader.Word();
        auto bytes = text ? Base64Decode(*text) : std::nullopt;
        if (!bytes || bytes->empty())
            return std::nullopt;
        picture.bytes = std::move(*bytes);
    } else {
        return std::nullopt;
    }
    return picture;
}

std::optional<PropertyValue> ReadValue(LineReader& reader)
{
    const auto type = reader.Word();
    if (type == "int") {
        if (auto value = reader.Integer())
            return *value;
    } else if (type == "bool") {
        const auto word = reader.Word();
        if (word == "true" || word == "false")
            return word == "true";
    } else if (type == "text") {
        if (auto text = reader.Quoted())
            return std::move(*text);
    } else if (type == "font") {
        FontDesc font;
        auto name = reader.Quoted();
        const auto size = reader.Size();
        if (!name || !size)
            return std::nullopt;
        font.name = std::move(*name);
        font.size = *size;
        while (!reader.AtEnd()) {
            const auto flag = reader.Word();
            if (flag == "bold" && !font.bold)
                font.bold = true;
            else if (flag == "italic" && !font.italic)
                font.italic = true;
            else if (flag == "underline" && !font.underline)
                font.underline = true;
            else
                return std::nullopt;
        }
        return font;
    } else if (type == "picture") {
        if (auto picture = ReadPicture(reader))
            return std::move(*picture);
    }
    return std::nullopt;
}

} // namespace

const ControlLayout* WindowLayout::Find(std::wstring_view controlName) const
{
    for (const auto& control : controls) {
        if (KeysEqual(control.name, controlName))
            return &control;
    }
    return nullptr;
}

LayoutParseResult ParseLayout(std::string_view utf8)
{
    LayoutParseResult result;
    WindowLayout layout;
    bool haveWindow = false;
    ControlLayout* open = nullptr;
    std::size_t lineNumber = 0;
    auto fail = [&](const char* message) {
        result.errorLine = lineNumber;
        result.error = message;
        return result;
    };

    // A UTF-8 byte order mark is allowed, as editors like to write one.
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.remove_prefix(3);
    if (utf8.starts_with("\xFF\xFE") || utf8.starts_with("\xFE\xFF")) {
        lineNumber = 1;
        return fail("UTF-16 text; a stored layout is UTF-8");
    }
    while (!utf8.empty()) {
        ++lineNumber;
        const auto end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos)
            return fail("a NUL byte in the line");

        LineReader reader(line);
        if (reader.AtEnd())
            continue;
        const auto first = reader.Word();
        if (!first)
            return fail("a line must start with a keyword or a property key");
        if (first->starts_with("#"))
            continue;

        if (*first == "window") {
            const auto name = reader.Name();
            if (haveWindow || !name || !reader.AtEnd())
                return fail(haveWindow ? "a second window line" : "expected: window <name>");
            layout.name = Widen(*name);
            haveWindow = true;
        } else if (*first == "control") {
            if (!haveWindow || open)
                return fail(open ? "control inside a control" : "control before the window line");
            const auto name = reader.Name();
            const auto className = reader.Name();
            const auto width = reader.Integer();
            const auto height = reader.Integer();
            if (!name || !className || !width || !height || *width < 0 || *height < 0 || !reader.AtEnd())
                return fail("expected: control <name> <class> <width> <height>");
            if (layout.Find(Widen(*name)))
                return fail("a second control of that name");
            layout.controls.push_back({Widen(*name), Widen(*className), *width, *height, {}});
            open = &layout.controls.back();
        } else if (*first == "end") {
            if (!open || !reader.AtEnd())
                return fail("end without a control");
            open = nullptr;
        } else {
            if (!open)
                return fail("a property outside a control");
            if (!IsName(*first))
                return fail("a property key must be a name");
            auto value = ReadValue(reader);
            if (!value || !reader.AtEnd())
                return fail("malformed property value");
            open->properties.Write(Widen(*first), std::move(*value));
        }
    }
    if (open)
        return fail("control without end");
    if (!haveWindow)
        return fail("no window line");
    result.layout = std::move(layout);
    return result;
}

} // namespace qm
