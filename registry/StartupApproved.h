#pragma once

// The enabled state Windows itself keeps for a startup entry: Task Manager and Settings turn
// an entry off without deleting it by writing a 12-byte REG_BINARY value of the same name
// into the StartupApproved key that belongs to its key. The value is a little-endian status
// (bit 0 set: disabled; 2 and 6 enabled, 3 and 7 disabled) and a FILETIME; no value means
// enabled.

#include "registry/RegistryAccess.h"
#include "registry/StartupLocations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace qm {

inline constexpr std::size_t kApprovedValueSize = 12;

// Whether a StartupApproved value's bytes say the entry is off.
bool IsDisabledValue(const std::vector<BYTE>& bytes);
// The value Task Manager writes: status 3 and the time when disabling, status 2 and zero time
// when enabling.
std::vector<BYTE> ApprovedValueBytes(bool enabled, std::uint64_t fileTime);

// The names a key's StartupApproved key marks disabled, read once for a whole listing.
// Names compare as the registry compares them, without regard to case.
class DisabledEntries {
public:
    static DisabledEntries Read(const StartupKey& key);
    bool Contains(const std::wstring& name) const;

private:
    std::unordered_set<std::wstring> upperNames_;
};

// The entry's StartupApproved value, type and bytes, when it has one.
[[nodiscard]] std::optional<RawValue> ReadApprovedValue(const StartupKey& key, const std::wstring& name);

// Turns an entry on or off as Task Manager does, creating the StartupApproved key when it is
// missing. False when the key has no StartupApproved key or the write was refused.
[[nodiscard]] bool SetStartupEnabled(const StartupKey& key, const std::wstring& name, bool enabled);

// The policy that makes Windows skip the key's whole list, as "HKLM\\...\\Explorer: NAME" (or
// HKCU), when one is set; empty when Windows runs the list.
std::wstring SkippingPolicy(const StartupKey& key);

// Removes the entry's StartupApproved value; true when there was none or it went.
[[nodiscard]] bool DeleteApprovedValue(const StartupKey& key, const std::wstring& name);

} // namespace qm
