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
    // NotChecked: the network location or relative path that was not looked at, or nothing.
    std::wstring path;
};

// Finds the program a startup command line starts, as Windows does at logon: environment
// variables expanded, the candidates tried in order (".exe" added to one without an
// extension), a bare name looked up under App Paths, then in the system folders and on PATH,
// never in the checker's current folder. For rundll32 the program is the library it loads.
// Nothing on the network is looked at, however it is reached (a share, a network drive, a
// variable, App Paths, PATH): that could take as long as the network lets it. A relative path
// depends on the folder Windows starts the entry in, so it is not looked at either.
ProgramLookup FindProgram(const std::wstring& commandLine);

} // namespace qm
