#pragma once

// The command line of quillmoor-cli, read into what one run does. Windowless: only the
// startup location table is consulted.

#include "cli/Output.h"
#include "registry/StartupLocations.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

// Program stands for a line without a command (--help, --version).
enum class Command { Program, List, Add, Remove, Disable, Enable, Backups, Restore, Compare };

struct Invocation {
    Command command = Command::Program;
    bool help = false;
    bool version = false;
    // In the order given, each once; list without --location gets every one.
    std::vector<const StartupKey*> locations;
    Format format = Format::Table;
    bool wide = false; // the table shows every column whole
    std::wstring name; // empty: the key's unnamed default value (--default-value)
    std::wstring commandLine;
    std::wstring file; // restore's backup; compare's baseline listing
    std::optional<std::wstring> currentFile; // compare: the listing to compare with, else the registry
    bool ignoreEnabled = false; // compare --ignore enabled
    std::optional<std::wstring> backupFolder;
    // remove only: the entry goes without a backup (for one no backup file can hold).
    bool noBackup = false;
    // list only: the programs' signatures are checked (which takes time).
    bool verify = false;
};

struct ParseResult {
    std::optional<Invocation> invocation;
    Command command = Command::Program; // whose usage goes with the error
    std::wstring error;                  // one line, when the line is refused
};

// Reads the arguments after the program's name. Options may stand anywhere after the command,
// as "--option value" or "--option=value"; "--" ends them, so that a name may begin with "-".
// --help, -h and /? ask for the command's help only before its first operand and before "--".
[[nodiscard]] ParseResult ParseArguments(const std::vector<std::wstring>& arguments);

// The command's name as typed; empty for Program.
const wchar_t* CommandName(Command command);

} // namespace qm::cli
