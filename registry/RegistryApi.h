#pragma once

#include <windows.h>

namespace qm {

// The registry functions the registry layer calls. Every call goes through the current
// table, so that tests can produce failures the platform will not produce on demand
// (a value that vanishes between two calls, a value that keeps growing).
struct RegistryApi {
    decltype(&RegOpenKeyExW) openKey;
    decltype(&RegCreateKeyExW) createKey;
    decltype(&RegQueryInfoKeyW) queryInfoKey;
    decltype(&RegEnumValueW) enumValue;
    decltype(&RegQueryValueExW) queryValue;
    decltype(&RegSetValueExW) setValue;
    decltype(&RegDeleteValueW) deleteValue;
    decltype(&RegCloseKey) closeKey;
};

// The platform's own functions.
const RegistryApi& PlatformRegistry();
// The table in use: the platform's unless a ScopedRegistryApi is alive.
const RegistryApi& Registry();

// Installs a copy of a table for its lifetime and then puts the previous one back.
class ScopedRegistryApi {
public:
    explicit ScopedRegistryApi(const RegistryApi& api);
    ~ScopedRegistryApi();
    ScopedRegistryApi(const ScopedRegistryApi&) = delete;
    ScopedRegistryApi& operator=(const ScopedRegistryApi&) = delete;

private:
    RegistryApi api_;
    const RegistryApi* previous_;
};

} // namespace qm
