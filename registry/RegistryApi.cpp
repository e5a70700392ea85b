#include "registry/RegistryApi.h"

namespace qm {

namespace {

const RegistryApi* current = nullptr;

} // namespace

const RegistryApi& PlatformRegistry()
{
    // Addresses of imported functions are not constant expressions, hence no constexpr table.
    static const RegistryApi api{
        &RegOpenKeyExW,
        &RegCreateKeyExW,
        &RegQueryInfoKeyW,
        &RegEnumValueW,
        &RegQueryValueExW,
        &RegSetValueExW,
        &RegDeleteValueW,
        &RegCloseKey,
    };
    return api;
}

const RegistryApi& Registry()
{
    return current ? *current : PlatformRegistry();
}

ScopedRegistryApi::ScopedRegistryApi(const RegistryApi& api) : api_(api), previous_(current)
{
    current = &api_;
}

ScopedRegistryApi::~ScopedRegistryApi()
{
    current = previous_;
}

} // namespace qm
