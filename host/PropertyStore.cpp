#include "host/PropertyStore.h"

#include <algorithm>

namespace qm {

namespace {

wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

} // namespace

bool KeysEqual(std::wstring_view a, std::wstring_view b)
{
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool PropertyStore::Entry::operator==(const Entry& other) const
{
    return KeysEqual(key, other.key) && value == other.value;
}

void PropertyStore::Write(std::wstring_view key, PropertyValue value)
{
    for (auto& entry : entries_) {
        if (KeysEqual(entry.key, key)) {
            entry.value = std::move(value);
            return;
        }
    }
    entries_.push_back({std::wstring(key), std::move(value)});
}

void PropertyStore::WriteFont(std::wstring_view key, const std::optional<FontDesc>& font)
{
    if (font)
        Write(key, *font);
}

void PropertyStore::WritePicture(std::wstring_view key, const std::optional<PictureData>& picture)
{
    if (picture)
        Write(key, *picture);
}

const PropertyValue* PropertyStore::Find(std::wstring_view key) const
{
    for (const auto& entry : entries_) {
        if (KeysEqual(entry.key, key))
            return &entry.value;
    }
    return nullptr;
}

std::int32_t PropertyStore::ReadInt(std::wstring_view key, std::int32_t fallback) const
{
    const PropertyValue* value = Find(key);
    if (!value)
        return fallback;
    if (const auto* i = std::get_if<std::int32_t>(value))
        return *i;
    if (const auto* b = std::get_if<bool>(value))
        return *b ? -1 : 0;
    return fallback;
}

bool PropertyStore::ReadBool(std::wstring_view key, bool fallback) const
{
    const PropertyValue* value = Find(key);
    if (!value)
        return fallback;
    if (const auto* b = std::get_if<bool>(value))
        return *b;
    if (const auto* i = std::get_if<std::int32_t>(value))
        return *i != 0;
    return fallback;
}

std::wstring PropertyStore::ReadText(std::wstring_view key, std::wstring_view fallback) const
{
    const PropertyValue* value = Find(key);
    const auto* text = value ? std::get_if<std::wstring>(value) : nullptr;
    return text ? *text : std::wstring(fallback);
}

std::optional<FontDesc> PropertyStore::ReadFont(std::wstring_view key) const
{
    const PropertyValue* value = Find(key);
    const auto* font = value ? std::get_if<FontDesc>(value) : nullptr;
    return font ? std::optional(*font) : std::nullopt;
}

std::optional<PictureData> PropertyStore::ReadPicture(std::wstring_view key) const
{
    const PropertyValue* value = Find(key);
    const auto* picture = value ? std::get_if<PictureData>(value) : nullptr;
    return picture ? std::optional(*picture) : std::nullopt;
}

} // namespace qm
