#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The files a command line may start, in the order process creation tries them: a quoted
// path is the path; an unquoted line is cut at each blank from left to right, the whole line
// last. Environment variables are not expanded here.
std::vector<std::wstring> ProgramCandidates(std::wstring_view commandLine);

enum class ProgramCheck { Found, Missing, NotChecked };

struct ProgramLookup {
    ProgramCheck check;
    // Found: the program's file. Missing: the file the command line most likely means.
    // NotChecked: a network path, as the command line gives it, or nothing.
    std::wstring path;
};

// Finds the program a startup command line starts, as Windows would: environment variables
// expanded, the candidates tried in order (".exe" added to one without an extension), a bare
// file name looked up on the search path and under App Paths. Programs on network paths are
// not looked for: that could take as long as the network lets it.
ProgramLookup FindProgram(const std::wstring& commandLine);

} // namespace qm
