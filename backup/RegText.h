#pragma once

// Text helpers shared by the .reg writer and reader. No platform calls.

#include "backup/RegFileFormat.h"
#include "host/TextEncoding.h"

#include <string_view>

namespace qm::regtext {

inline constexpr std::wstring_view kHeader4 = L"REGEDIT4";
inline constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";

std::vector<uint8_t> Utf16Bytes(std::wstring_view units);
// Nothing for an odd byte count.
std::optional<std::wstring> Utf16Units(const uint8_t* bytes, size_t count);
std::optional<std::wstring> Utf16Units(const std::vector<uint8_t>& bytes);

// Blanks are spaces and tabs, as the registry editor skips them.
std::wstring_view TrimLeft(std::wstring_view text);
std::wstring_view TrimRight(std::wstring_view text);
size_t SkipBlanks(std::wstring_view line, size_t pos);

// ASCII case only, as EqualNoCase.
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);

} // namespace qm::regtext
