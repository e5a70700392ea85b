#pragma once

// The property bag a control saves itself into and loads itself from. Kept free of the
// platform headers: the stored-layout text is parsed and checked on any system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm {

// A font as a stored layout holds it; the size is in points (8.25 for MS Sans Serif 8).
struct FontDesc {
    std::wstring name;
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontDesc&) const = default;
};

// Font sizes a stored layout can hold, in points.
inline constexpr double kMinFontSize = 1.0;
inline constexpr double kMaxFontSize = 2048.0;
inline bool IsValidFontSize(double size)
{
    return size >= kMinFontSize && size <= kMaxFontSize;
}

// A picture in its stored form: a reference to a resource, or the bytes of an image file
// (.ico for icons, .bmp for bitmaps).
struct PictureData {
    enum class Type : std::uint8_t { Icon, Bitmap };
    enum class Origin : std::uint8_t { Resource, SystemCursor, Bytes };

    Type type = Type::Icon;
    Origin origin = Origin::Bytes;
    std::int32_t resourceId = 0; // Resource and SystemCursor
    std::vector<std::uint8_t> bytes; // Bytes

    bool operator==(const PictureData&) const = default;
};

using PropertyValue = std::variant<std::int32_t, bool, std::wstring, FontDesc, PictureData>;

// Keys match without regard to case; entries keep the order of their first writing.
bool KeysEqual(std::wstring_view a, std::wstring_view b);

class PropertyStore {
public:
    struct Entry {
        std::wstring key;
        PropertyValue value;

        // Keys compare as the store matches them, without regard to case.
        bool operator==(const Entry& other) const;
    };

    // Replaces the value of an existing key (keeping its place and spelling) or appends it.
    void Write(std::wstring_view key, PropertyValue value);
    // An object that is none is left out, so that reading it gives its default.
    void WriteFont(std::wstring_view key, const std::optional<FontDesc>& font);
    void WritePicture(std::wstring_view key, const std::optional<PictureData>& picture);

    const PropertyValue* Find(std::wstring_view key) const;
    bool Contains(std::wstring_view key) const { return Find(key) != nullptr; }

    // Reading a missing key, or one whose value has another type, gives the default.
    // Integers and booleans read as each other (True = -1), as the stored layouts allow.
    std::int32_t ReadInt(std::wstring_view key, std::int32_t fallback) const;
    bool ReadBool(std::wstring_view key, bool fallback) const;
    std::wstring ReadText(std::wstring_view key, std::wstring_view fallback) const;
    std::optional<FontDesc> ReadFont(std::wstring_view key) const;
    std::optional<PictureData> ReadPicture(std::wstring_view key) const;

    const std::vector<Entry>& Entries() const { return entries_; }
    bool operator==(const PropertyStore&) const = default;

private:
    std::vector<Entry> entries_;
};

} // namespace qm
