#pragma once

#include "registry/RegKey.h"
#include "registry/StartupLocations.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The registry operations through which startup entries are listed, written and removed.
// Nothing here raises or reports: a failure shows as a null key, a count of 0, empty text,
// false, or nothing written. Text goes to and from the registry as UTF-16 throughout.
namespace qm {

struct RootKeyName {
    std::wstring_view name;
    std::uint32_t handle; // the predefined handle's 32-bit value
};

// Root-key names as they begin a full path, compared exactly (case-sensitive).
inline constexpr std::array<RootKeyName, 7> kRootKeys{{
    {L"HKEY_CLASSES_ROOT", 0x80000000},
    {L"HKEY_CURRENT_USER", 0x80000001},
    {L"HKEY_LOCAL_MACHINE", 0x80000002},
    {L"HKEY_USERS", 0x80000003},
    {L"HKEY_PERFORMANCE_DATA", 0x80000004},
    {L"HKEY_CURRENT_CONFIG", 0x80000005},
    {L"HKEY_DYN_DATA", 0x80000006},
}};

// Access asked for when a key is opened to read values, and to set or delete one: no more, so
// that a key whose other rights are refused still does what is asked of it.
inline constexpr REGSAM kReadAccess = 0x0001;   // KEY_QUERY_VALUE
inline constexpr REGSAM kChangeAccess = 0x0002; // KEY_SET_VALUE

// A value's own type and bytes, as stored.
struct RawValue {
    DWORD type;
    std::vector<BYTE> data;
};

// The predefined handle of a root-key name; null for any other name.
HKEY GetRootKey(std::wstring_view name);
// The predefined handle a startup key lies below.
HKEY RootKey(const StartupKey& key);

// Writes a value of any type into a key, which is created first when createKey says so.
// True when the value was written.
[[nodiscard]] bool WriteValueRaw(HKEY root, const std::wstring& subKey, const std::wstring& name, const RawValue& value,
    REGSAM view, bool createKey);

// The functions below take the view a key is opened in: 0 for the native one, or
// KEY_WOW64_32KEY for the 32-bit programs' keys.

// Removes a value; true only when the platform reports success.
[[nodiscard]] bool DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view = 0);

// Opens a key to set and delete its values, with no other right; an empty key when refused.
[[nodiscard]] RegKey OpenKeyForChange(HKEY root, const std::wstring& subKey, REGSAM view = 0);
// The same for a startup key, with the 32-bit programs' key only where the machine has one.
[[nodiscard]] RegKey OpenStartupKeyForChange(const StartupKey& key);

enum class Deletion { Deleted, Missing, Refused };
// Removes a value of a key opened for change.
[[nodiscard]] Deletion DeleteValueOf(HKEY key, const std::wstring& name);
// Writes a value into a key opened for change; true when written.
[[nodiscard]] bool SetValueOf(HKEY key, const std::wstring& name, const RawValue& value);

// Opens a key for reading values; an empty key when it cannot be opened.
[[nodiscard]] RegKey OpenKeyForRead(HKEY root, const std::wstring& subKey, REGSAM view = 0);

// Opens a startup key for reading values. The 32-bit programs' key exists only where the
// machine has a 32-bit view (a Wow6432Node key); elsewhere the view would give the native key
// a second time.
[[nodiscard]] RegKey OpenStartupKeyForRead(const StartupKey& key);

// The number of values of an open key; 0 for a null key or a failed query.
DWORD CountValues(HKEY key);

// The name of the value at a zero-based index, whole and exactly as stored (the default
// value's name is empty), with its type and bytes, read with one enumeration call; nothing
// when the value cannot be read whole (it vanished, or kept growing while it was read).
struct NamedValue {
    std::wstring name;
    RawValue value;
};
[[nodiscard]] std::optional<NamedValue> EnumValueRaw(HKEY key, DWORD index);

// A value's data as the lists show it, whole, with leading spaces removed: string types give
// their text up to the first NUL; any other type gives its bytes up to the first zero byte,
// read in the ANSI code page.
std::wstring ValueDataAsText(const RawValue& value);

// Reads the values of an open key by index into buffers it keeps, so that a listing of many
// values allocates nothing for each one. What it gives stays valid until the next Read.
class ValueReader {
public:
    explicit ValueReader(HKEY key);

    // Reads the value at a zero-based index whole, with one enumeration call; false when it
    // cannot be read whole (it vanished, or kept growing while it was read).
    [[nodiscard]] bool Read(DWORD index);
    // Exactly as stored; the default value's name is empty.
    const std::wstring& Name() const { return name_; }
    // The data as ValueDataAsText gives them.
    const std::wstring& Text();
    RawValue Value() const;

private:
    HKEY key_;
    std::wstring name_;
    std::vector<BYTE> data_;
    std::size_t dataSize_ = 0;
    DWORD type_ = 0;
    std::wstring text_;
    bool textRead_ = false;
};

// The name of a value and its data as text, as EnumValueRaw and ValueDataAsText give them.
struct ValueText {
    std::wstring name;
    std::wstring text;
};

// Every value of an open key, in index order, read in one pass with no other work between the
// reads: under Wine each read is a round trip to the wineserver, and a read that follows other
// work finds the server asleep and waits for it to wake, which nearly doubles a listing's time.
// A value that cannot be read (it vanished meanwhile) is left out, so that no empty name stands
// for the default value.
std::vector<ValueText> ReadValueTexts(HKEY key);

// A value's type and bytes, whole; nothing when the key or the value cannot be read.
[[nodiscard]] std::optional<RawValue> ReadValueRaw(HKEY root, const std::wstring& subKey, const std::wstring& name,
    REGSAM view = 0);

// True only when the registry says the value, or its key, is not there; a key that cannot be
// read for another reason is not known to be missing.
[[nodiscard]] bool ValueIsMissing(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view = 0);

} // namespace qm
