#include "registry/StartupApproved.h"

namespace qm {

namespace {

constexpr std::uint32_t kEnabledStatus = 2;
constexpr std::uint32_t kDisabledStatus = 3;

std::wstring Upper(std::wstring name)
{
    if (!name.empty())
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace

bool IsDisabledValue(const std::vector<BYTE>& bytes)
{
    return !bytes.empty() && (bytes[0] & 1) != 0;
}

std::vector<BYTE> ApprovedValueBytes(bool enabled, std::uint64_t fileTime)
{
    const std::uint32_t status = enabled ? kEnabledStatus : kDisabledStatus;
    const std::uint64_t time = enabled ? 0 : fileTime;
    std::vector<BYTE> bytes(kApprovedValueSize);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<BYTE>(status >> (8 * i));
    for (int i = 0; i < 8; ++i)
        bytes[static_cast<size_t>(4 + i)] = static_cast<BYTE>(time >> (8 * i));
    return bytes;
}

DisabledEntries DisabledEntries::Read(const StartupKey& key)
{
    DisabledEntries disabled;
    if (!key.HasApprovedKey())
        return disabled;
    const RegKey approved = OpenKeyForRead(RootKey(key), key.approvedSubKey);
    const DWORD count = CountValues(approved.Get());
    for (DWORD i = 0; i < count; ++i) {
        const auto value = EnumValueRaw(approved.Get(), i);
        if (value && IsDisabledValue(value->value.data))
            disabled.upperNames_.insert(Upper(value->name));
    }
    return disabled;
}

bool DisabledEntries::Contains(const std::wstring& name) const
{
    return !upperNames_.empty() && upperNames_.count(Upper(name)) != 0;
}

std::optional<RawValue> ReadApprovedValue(const StartupKey& key, const std::wstring& name)
{
    if (!key.HasApprovedKey())
        return std::nullopt;
    return ReadValueRaw(RootKey(key), key.approvedSubKey, name);
}

bool SetStartupEnabled(const StartupKey& key, const std::wstring& name, bool enabled)
{
    if (!key.HasApprovedKey())
        return false;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t time = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return WriteValueRaw(RootKey(key), key.approvedSubKey, name, {REG_BINARY, ApprovedValueBytes(enabled, time)}, 0, true);
}

bool DeleteApprovedValue(const StartupKey& key, const std::wstring& name)
{
    if (!key.HasApprovedKey() || ValueIsMissing(RootKey(key), key.approvedSubKey, name))
        return true;
    return DeleteValue(RootKey(key), key.approvedSubKey, name);
}

std::wstring SkippingPolicy(const StartupKey& key)
{
    if (!key.skippedBy)
        return {};
    for (const auto& [root, name] : {std::pair{HKEY_LOCAL_MACHINE, L"HKLM"}, std::pair{HKEY_CURRENT_USER, L"HKCU"}}) {
        const auto value = ReadValueRaw(root, kExplorerPolicies, key.skippedBy, kNativeView);
        if (value && value->type == REG_DWORD && value->data.size() == 4 && value->data[0] == 1 && value->data[1] == 0 &&
            value->data[2] == 0 && value->data[3] == 0)
            return std::wstring(name) + L"\\" + kExplorerPolicies + L": " + key.skippedBy;
    }
    return {};
}

} // namespace qm
