#pragma once

#include "registry/RegistryApi.h"

#include <windows.h>

#include <cstdint>
#include <utility>

namespace qm {

// Owns an open registry key and closes it through the current registry table.
class RegKey {
public:
    RegKey() noexcept = default;
    explicit RegKey(HKEY key) noexcept : key_(key) {}
    ~RegKey() { Reset(); }

    RegKey(RegKey&& other) noexcept : key_(other.Release()) {}
    RegKey& operator=(RegKey&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY Get() const noexcept { return key_; }
    explicit operator bool() const noexcept { return key_ != nullptr; }

    HKEY Release() noexcept { return std::exchange(key_, nullptr); }

    void Reset(HKEY key = nullptr) noexcept
    {
        const HKEY old = std::exchange(key_, key);
        if (old && !IsPredefined(old))
            Registry().closeKey(old);
    }

    // Opening a predefined root with an empty sub-key hands back the root itself; closing
    // that would drop the process's cached root handle (and with it a test's redirection).
    static bool IsPredefined(HKEY key) noexcept
    {
        const auto value = static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(key));
        return value >= static_cast<LONG>(0x80000000) && value <= static_cast<LONG>(0x800000FF);
    }

private:
    HKEY key_ = nullptr;
};

} // namespace qm
