#pragma once

// The shell link (.lnk) format read by hand: what a shortcut in a Startup folder starts, from
// the file's bytes alone, so that links the shell's own reader gets wrong (environment-variable
// and installer-advertised targets) still say where they lead. Platform-free, so that it is
// fuzzed on any host; every offset is checked against the bytes there are.

#include "backup/RegFileFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// The parts of a link that name its target, as stored: nothing is expanded or resolved here.
struct ShellLink {
    std::wstring localPath;         // LinkInfo: the local base path and the common suffix
    std::wstring networkPath;       // LinkInfo: the share and the common suffix
    std::wstring relativePath;      // against the link's own folder
    std::wstring workingFolder;
    std::wstring arguments;
    std::wstring environmentTarget; // environment-variable block, unexpanded
    std::wstring darwinId;          // installer-advertised shortcut: the descriptor of its product
    bool hasIdList = false;         // the target is also (or only) given as a shell item list
};

// Nothing for bytes that are not a shell link, or whose header, item list, link information or
// strings run past the end. Extra data blocks are read up to the first one that is damaged:
// what came before it stands.
[[nodiscard]] std::optional<ShellLink> ParseShellLink(const std::vector<std::uint8_t>& bytes, const AnsiCodec& ansi);

} // namespace qm
