#pragma once

#include "cli/Console.h"

#include <string>
#include <vector>

namespace qm::cli {

inline constexpr int kExitDone = 0;
// The operation failed and nothing was changed; the reason went to standard error.
inline constexpr int kExitFailed = 1;
// The command line was wrong; the usage went to standard error.
inline constexpr int kExitUsage = 2;
// Done in part: the entry changed, and standard error says what did not follow.
inline constexpr int kExitPartly = 3;
// compare: the listings differ; the differences went to standard output.
inline constexpr int kExitDrift = 4;

struct Streams {
    TextSink& out; // data
    TextSink& err; // messages, one line each
};

// Runs one command line, given by the arguments after the program's name, through the same
// registry and backup code the window uses; the process's exit code.
[[nodiscard]] int RunCommandLine(const std::vector<std::wstring>& arguments, Streams streams);

} // namespace qm::cli
