#pragma once

// Registry value types (the platform's REG_* numbers) and the registry's own limits, free of
// the platform headers for the file-format code that builds on any host.

#include <cstddef>
#include <cstdint>

namespace qm {

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// The longest value name, and the longest name of one key of a path, in characters.
inline constexpr std::size_t kMaxValueName = 16383;
inline constexpr std::size_t kMaxKeyName = 255;

// The types whose data are UTF-16 text.
constexpr bool IsStringType(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

} // namespace qm
