#include "cli/Help.h"

#include <array>

namespace qm::cli {

namespace {

// Where the descriptions begin in the lists of locations and commands.
constexpr std::size_t kLocationColumn = 18;
constexpr std::size_t kCommandColumn = 10;

struct CommandHelp {
    Command command;
    const wchar_t* usage; // after the program's name
    const wchar_t* summary;
    const wchar_t* details;
};

constexpr std::array<CommandHelp, 8> kHelp = {{
    {Command::List, L"list [--location LOC]... [--format table|csv|json] [--wide] [--verify]",
        L"lists the entries of startup locations",
        L"Prints every entry of the locations given (all of them without --location): location,\r\n"
        L"source (run, runonce, policy or startup-folder), key (a Startup folder item's folder),\r\n"
        L"name (its file name), type (file for a Startup folder item), enabled, command, program,\r\n"
        L"programExists, company (the name the program's version resource claims), signer and\r\n"
        L"signature.\r\n"
        L"  --location LOC    a location to list; repeat it for more\r\n"
        L"  --format FORMAT   table (the default, for people), csv or json\r\n"
        L"  --wide            the table shows every column whole (else cut at 60 characters)\r\n"
        L"  --verify          check each program's signature, on one thread per processor:\r\n"
        L"                    verified (with the signer), unsigned, invalid, untrusted or\r\n"
        L"                    not checked; without it signature is empty (null in JSON)\r\n"},
    {Command::Add, L"add --location LOC [--backup-folder DIR] [--] NAME COMMAND",
        L"adds an entry that starts COMMAND",
        L"Writes NAME as a REG_SZ value holding COMMAND. An entry of that name is saved to a\r\n"
        L"verified backup first, and left alone when that cannot be done; the backup's path is\r\n"
        L"printed. \"--\" lets NAME begin with \"-\".\r\n"
        L"  --backup-folder DIR   save the backup there instead of beside the program or in\r\n"
        L"                        %LOCALAPPDATA%\\Quillmoor\\Backups\r\n"},
    {Command::Remove, L"remove --location LOC [--backup-folder DIR | --no-backup] [--] (NAME | --default-value)",
        L"removes an entry after backing it up",
        L"Saves the entry and its enabled state to a verified backup, then removes both, and prints\r\n"
        L"the backup's path. The command itself is the confirmation.\r\n"
        L"  --default-value       the key's unnamed default value, in place of NAME\r\n"
        L"  --backup-folder DIR   save the backup there instead of beside the program or in\r\n"
        L"                        %LOCALAPPDATA%\\Quillmoor\\Backups\r\n"
        L"  --no-backup           remove it without a backup; accepted only for an entry no\r\n"
        L"                        backup file can hold (its name holds CR, LF or NUL)\r\n"},
    {Command::Disable, L"disable --location LOC [--] (NAME | --default-value)", L"turns an entry off",
        L"Marks the entry disabled in the key's StartupApproved key, as Task Manager does; the\r\n"
        L"entry stays. Only hklm, hkcu and hklm32 have such a key.\r\n"
        L"  --default-value   the key's unnamed default value, in place of NAME\r\n"},
    {Command::Enable, L"enable --location LOC [--] (NAME | --default-value)", L"turns an entry back on",
        L"Marks the entry enabled in the key's StartupApproved key, as Task Manager does.\r\n"
        L"Only hklm, hkcu and hklm32 have such a key.\r\n"
        L"  --default-value   the key's unnamed default value, in place of NAME\r\n"},
    {Command::Backups, L"backups [--format table|csv|json] [--wide] [--backup-folder DIR]", L"lists the backup files",
        L"Prints each .reg file beside the program and in %LOCALAPPDATA%\\Quillmoor\\Backups: file,\r\n"
        L"location, key, name, type and command of the entry it holds, and when it was written\r\n"
        L"(UTC). A file that is not a backup of a startup entry is listed with the entry's fields\r\n"
        L"empty (null in JSON); restore refuses it.\r\n"
        L"  --format FORMAT       table (the default), csv or json\r\n"
        L"  --wide                the table shows every column whole\r\n"
        L"  --backup-folder DIR   list that folder instead\r\n"},
    {Command::Restore, L"restore FILE", L"puts a backed-up entry back",
        L"Checks that FILE is a whole backup of a startup entry, has the registry editor import it,\r\n"
        L"reads every value back and compares it, and only then deletes FILE.\r\n"},
    {Command::Compare, L"compare [--location LOC]... [--ignore enabled] [--format table|csv|json] FILE [CURRENT]",
        L"reports the entries that differ from a baseline",
        L"FILE and CURRENT are listings written by 'list --format json'; without CURRENT, FILE is\r\n"
        L"compared with the registry's entries now. Entries are matched by location, key and name\r\n"
        L"(names ignoring case, as the registry does). Prints one row per difference: an entry\r\n"
        L"added or removed, or a change of its command, type or enabled state. Exits 0 when\r\n"
        L"nothing differs and 4 when something does.\r\n"
        L"  --location LOC     compare only that location; repeat it for more. Without it, the\r\n"
        L"                     registry is read at every location, so give the same --location\r\n"
        L"                     options the baseline was listed with\r\n"
        L"  --ignore enabled   leave changes of the enabled state out\r\n"
        L"  --format FORMAT    table (the default), csv or json\r\n"},
}};

const CommandHelp* HelpOf(Command command)
{
    for (const CommandHelp& help : kHelp) {
        if (help.command == command)
            return &help;
    }
    return nullptr;
}

// The folder as help names it on any machine: which one it is, not this machine's path.
std::wstring FolderDescription(const StartupKey& key)
{
    return key.folder == StartupFolder::User ? L"this user's Startup folder (state in HKEY_CURRENT_USER)"
                                             : L"all users' Startup folder (state in HKEY_LOCAL_MACHINE)";
}

std::wstring Locations()
{
    std::wstring text = L"Locations:\r\n";
    for (const StartupKey& key : kStartupKeys) {
        std::wstring name = key.name;
        name.resize(kLocationColumn, L' ');
        text += L"  " + name + (key.IsFolder() ? FolderDescription(key) : key.fullPath) + L"\r\n";
    }
    return text;
}

} // namespace

std::wstring Usage(Command command)
{
    std::wstring text;
    for (const CommandHelp& help : kHelp) {
        if (command == Command::Program || help.command == command)
            text += std::wstring(text.empty() ? L"usage: " : L"       ") + L"quillmoor-cli " + help.usage + L"\r\n";
    }
    if (command == Command::Program)
        text += L"       quillmoor-cli --help | --version\r\n";
    return text;
}

std::wstring HelpText(Command command)
{
    if (const CommandHelp* help = HelpOf(command)) {
        const bool hasLocations = command != Command::Backups && command != Command::Restore;
        return Usage(command) + L"\r\n" + help->details + (hasLocations ? L"\r\n" + Locations() : L"");
    }
    std::wstring text = L"Lists and edits the programs Windows starts at boot and logon.\r\n\r\n" + Usage(command) +
        L"\r\nCommands:\r\n";
    for (const CommandHelp& entry : kHelp) {
        std::wstring name = CommandName(entry.command);
        name.resize(kCommandColumn, L' ');
        text += L"  " + name + entry.summary + L"\r\n";
    }
    return text + L"\r\n" + Locations() +
        L"\r\nExit codes: 0 done; 1 failed, nothing changed (the reason on standard error); 2 the command\r\n"
        L"line was wrong; 4 compare found differences. 'quillmoor-cli COMMAND --help' describes a\r\n"
        L"command.\r\n";
}

} // namespace qm::cli
