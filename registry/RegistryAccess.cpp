#include "registry/RegistryAccess.h"

#include "registry/ValueTypes.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

// The longest value name the registry allows, with its terminating NUL.
constexpr DWORD kNameLimit = 16384;
// Enough for a command line; larger data reports its size and is read again.
constexpr DWORD kFirstDataSize = 1024;
// A value may grow between the size report and the next read; give up after a few rounds.
constexpr int kReadAttempts = 8;

HKEY ToHandle(std::uint32_t value)
{
    // The predefined handles are 32-bit values sign-extended to pointer width.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(value)));
}

RegKey OpenKey(HKEY root, const std::wstring& subKey, REGSAM access)
{
    if (!root)
        return {};
    HKEY key = nullptr;
    if (Registry().openKey(root, subKey.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return {};
    return RegKey(key);
}

// The 32-bit programs' key exists only where the machine has a 32-bit view (a Wow6432Node
// key); elsewhere the view would give the native key a second time.
bool HasViewOf(const StartupKey& key)
{
    return !key.Is32Bit() || OpenKey(RootKey(key), L"Software\\WOW6432Node", kReadAccess);
}

std::optional<RawValue> QueryRaw(HKEY key, const std::wstring& name)
{
    if (!key)
        return std::nullopt;
    std::vector<BYTE> data(kFirstDataSize);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status = Registry().queryValue(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(std::min<std::size_t>(size, data.size()));
            return RawValue{type, std::move(data)};
        }
        if (status != ERROR_MORE_DATA)
            return std::nullopt;
        // Some keys (performance data) report no size; grow anyway.
        data.resize(std::max<std::size_t>(size, data.size() * 2));
    }
    return std::nullopt;
}

// A value's data as the lists show it, into text: string types give their text up to the
// first NUL; any other type gives its bytes up to the first zero byte, one character each in
// the ANSI code page. Leading spaces go.
void DataAsText(DWORD type, const BYTE* data, std::size_t size, std::wstring& text)
{
    if (IsStringType(type)) {
        const auto* units = reinterpret_cast<const wchar_t*>(data);
        const std::size_t count = size / sizeof(wchar_t);
        text.assign(units, std::find(units, units + count, L'\0'));
    } else {
        const int count = static_cast<int>(std::find(data, data + size, BYTE{0}) - data);
        const auto* bytes = reinterpret_cast<const char*>(data);
        text.resize(count == 0 ? 0 : static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0)));
        if (!text.empty())
            MultiByteToWideChar(CP_ACP, 0, bytes, count, text.data(), static_cast<int>(text.size()));
    }
    text.erase(0, std::min(text.size(), text.find_first_not_of(L' ')));
}

} // namespace

HKEY GetRootKey(std::wstring_view name)
{
    for (const auto& root : kRootKeys) {
        if (root.name == name)
            return ToHandle(root.handle);
    }
    return nullptr;
}

HKEY RootKey(const StartupKey& key)
{
    return ToHandle(key.rootHandle);
}

bool WriteValueRaw(HKEY root, const std::wstring& subKey, const std::wstring& name, const RawValue& value, REGSAM view,
    bool createKey)
{
    RegKey key;
    if (createKey) {
        HKEY created = nullptr;
        if (root && Registry().createKey(root, subKey.c_str(), 0, nullptr, 0, kChangeAccess | view, nullptr, &created,
                        nullptr) == ERROR_SUCCESS)
            key = RegKey(created);
    } else {
        key = OpenKey(root, subKey, kChangeAccess | view);
    }
    return key && Registry().setValue(key.Get(), name.c_str(), 0, value.type, value.data.data(),
                      static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view)
{
    const RegKey key = OpenKeyForChange(root, subKey, view);
    return key && DeleteValueOf(key.Get(), name) == Deletion::Deleted;
}

RegKey OpenKeyForChange(HKEY root, const std::wstring& subKey, REGSAM view)
{
    return OpenKey(root, subKey, kChangeAccess | view);
}

RegKey OpenStartupKeyForChange(const StartupKey& key)
{
    if (!HasViewOf(key))
        return {};
    return OpenKeyForChange(RootKey(key), key.subKey, key.view);
}

Deletion DeleteValueOf(HKEY key, const std::wstring& name)
{
    if (!key)
        return Deletion::Refused;
    const LSTATUS status = Registry().deleteValue(key, name.c_str());
    if (status == ERROR_SUCCESS)
        return Deletion::Deleted;
    return status == ERROR_FILE_NOT_FOUND ? Deletion::Missing : Deletion::Refused;
}

bool SetValueOf(HKEY key, const std::wstring& name, const RawValue& value)
{
    return key && Registry().setValue(key, name.c_str(), 0, value.type, value.data.data(),
                      static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

RegKey OpenKeyForRead(HKEY root, const std::wstring& subKey, REGSAM view)
{
    return OpenKey(root, subKey, kReadAccess | view);
}

RegKey OpenStartupKeyForRead(const StartupKey& key)
{
    if (!HasViewOf(key))
        return {};
    return OpenKey(RootKey(key), key.subKey, kReadAccess | key.view);
}

DWORD CountValues(HKEY key)
{
    if (!key)
        return 0;
    DWORD values = 0;
    if (Registry().queryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
            nullptr, nullptr)
        != ERROR_SUCCESS)
        return 0;
    return values;
}

ValueReader::ValueReader(HKEY key) : key_(key), name_(MAX_PATH + 1, L'\0'), data_(kFirstDataSize) {}

bool ValueReader::Read(DWORD index)
{
    if (!key_)
        return false;
    // The buffers keep their size from value to value. A value that keeps growing while it is
    // read is given up on, as a single read gives it up.
    name_.resize(name_.capacity());
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        auto nameLength = static_cast<DWORD>(name_.size());
        auto size = static_cast<DWORD>(data_.size());
        const LSTATUS status =
            Registry().enumValue(key_, index, name_.data(), &nameLength, nullptr, &type_, data_.data(), &size);
        if (status == ERROR_SUCCESS) {
            name_.resize(std::min<std::size_t>(nameLength, name_.size()));
            dataSize_ = std::min<std::size_t>(size, data_.size());
            textRead_ = false;
            return true;
        }
        if (status != ERROR_MORE_DATA)
            return false;
        // The status does not say which buffer was short, nor how long the name is: a data
        // size beyond the data buffer means the data, anything else the name. Either grows to
        // what is sure to hold it: the data to the size reported, the name to the longest
        // the registry allows.
        if (size > data_.size())
            data_.resize(size);
        else
            name_.resize(kNameLimit);
    }
    return false;
}

const std::wstring& ValueReader::Text()
{
    if (!textRead_) {
        DataAsText(type_, data_.data(), dataSize_, text_);
        textRead_ = true;
    }
    return text_;
}

RawValue ValueReader::Value() const
{
    return {type_, std::vector<BYTE>(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(dataSize_))};
}

std::optional<NamedValue> EnumValueRaw(HKEY key, DWORD index)
{
    ValueReader reader(key);
    if (!reader.Read(index))
        return std::nullopt;
    return NamedValue{reader.Name(), reader.Value()};
}

std::wstring ValueDataAsText(const RawValue& value)
{
    std::wstring text;
    DataAsText(value.type, value.data.data(), value.data.size(), text);
    return text;
}

std::vector<ValueText> ReadValueTexts(HKEY key)
{
    const DWORD count = CountValues(key);
    std::vector<ValueText> values;
    values.reserve(count);
    ValueReader reader(key);
    for (DWORD i = 0; i < count; ++i) {
        if (reader.Read(i))
            values.push_back({reader.Name(), reader.Text()});
    }
    return values;
}

std::optional<RawValue> ReadValueRaw(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view)
{
    const RegKey key = OpenKey(root, subKey, kReadAccess | view);
    return QueryRaw(key.Get(), name);
}

bool ValueIsMissing(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view)
{
    if (!root)
        return false;
    HKEY opened = nullptr;
    const LSTATUS status = Registry().openKey(root, subKey.c_str(), 0, kReadAccess | view, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    const RegKey key(opened);
    return Registry().queryValue(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}

} // namespace qm
