#pragma once

#include "cli/Arguments.h"

#include <string>

namespace qm::cli {

// The usage lines that follow a refused command line: the command's, or every command's.
std::wstring Usage(Command command);
// What --help prints for the program or a command.
std::wstring HelpText(Command command);

} // namespace qm::cli
