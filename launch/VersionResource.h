#pragma once

// A program's version resource read by hand from its PE headers and resource directory: only
// the few kilobytes it needs, where the system's version API maps the whole file. Platform-free,
// so that it is tested on made-up bytes; every offset is checked against the bytes there are.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm {

// Up to count bytes of the file from offset on; fewer at its end, none on a read error.
using ReadFileBytes = std::function<std::vector<std::uint8_t>(std::uint64_t offset, std::size_t count)>;

// The bytes of the RT_VERSION resource named 1, as the version API finds it: in the neutral
// language, else in `language`, else in US English, else in the first one listed. Empty when the
// file is not a PE program (a 16-bit one included), has none, or its headers or resource
// directory run past the file or outside every section.
std::vector<std::uint8_t> ReadVersionResource(const ReadFileBytes& read, std::uint16_t language);

// CompanyName of a version resource, in the first translation it lists, else in US English
// (Unicode, then Windows-1252); empty when it has none. Keys match ignoring ASCII case.
std::wstring CompanyInVersionInfo(const std::vector<std::uint8_t>& versionInfo);

} // namespace qm
