#include "cli/Arguments.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace qm::cli {

namespace {

enum class Option { Location, Format, Wide, BackupFolder, DefaultValue, NoBackup, Ignore, Verify };

struct OptionSyntax {
    std::wstring_view name;
    Option option;
    bool takesValue;
};

constexpr std::array<OptionSyntax, 8> kOptions = {{
    {L"--location", Option::Location, true},
    {L"--format", Option::Format, true},
    {L"--wide", Option::Wide, false},
    {L"--backup-folder", Option::BackupFolder, true},
    {L"--default-value", Option::DefaultValue, false},
    {L"--no-backup", Option::NoBackup, false},
    {L"--ignore", Option::Ignore, true},
    {L"--verify", Option::Verify, false},
}};

enum class Locations {
    None,     // no --location
    One,      // --location exactly once
    AnyNumber // --location as often as wanted; every location without it
};

// What a command accepts besides --help.
struct Accepted {
    Locations locations = Locations::None;
    bool format = false; // and --wide, which only the table heeds
    bool backupFolder = false;
    bool defaultValue = false; // in place of NAME
    bool noBackup = false;
    bool ignore = false;
    bool verify = false;
};

enum class Operand { Name, CommandLine, File, CurrentFile };

constexpr std::array kNameAndCommand = {Operand::Name, Operand::CommandLine};
constexpr std::array kName = {Operand::Name};
constexpr std::array kFile = {Operand::File};
// The current listing is optional: it is the last operand.
constexpr std::array kListings = {Operand::File, Operand::CurrentFile};

struct CommandSyntax {
    Command command;
    const wchar_t* name;
    Accepted accepted;
    std::span<const Operand> operands; // in the order they are given
};

constexpr std::array<CommandSyntax, 8> kCommands = {{
    {Command::List, L"list", {.locations = Locations::AnyNumber, .format = true, .verify = true}, {}},
    {Command::Add, L"add", {.locations = Locations::One, .backupFolder = true}, kNameAndCommand},
    {Command::Remove, L"remove",
        {.locations = Locations::One, .backupFolder = true, .defaultValue = true, .noBackup = true}, kName},
    {Command::Disable, L"disable", {.locations = Locations::One, .defaultValue = true}, kName},
    {Command::Enable, L"enable", {.locations = Locations::One, .defaultValue = true}, kName},
    {Command::Backups, L"backups", {.format = true, .backupFolder = true}, {}},
    {Command::Restore, L"restore", {}, kFile},
    {Command::Compare, L"compare", {.locations = Locations::AnyNumber, .format = true, .ignore = true}, kListings},
}};

bool Accepts(const Accepted& accepted, Option option)
{
    switch (option) {
    case Option::Location: return accepted.locations != Locations::None;
    case Option::Format:
    case Option::Wide: return accepted.format;
    case Option::BackupFolder: return accepted.backupFolder;
    case Option::DefaultValue: return accepted.defaultValue;
    case Option::Ignore: return accepted.ignore;
    case Option::Verify: return accepted.verify;
    case Option::NoBackup: break;
    }
    return accepted.noBackup;
}

const wchar_t* OperandName(Operand operand)
{
    switch (operand) {
    case Operand::Name: return L"NAME";
    case Operand::CommandLine: return L"COMMAND";
    case Operand::File: break;
    case Operand::CurrentFile: return L"CURRENT";
    }
    return L"FILE";
}

struct FormatName {
    std::wstring_view name;
    Format format;
};

constexpr std::array<FormatName, 3> kFormats = {{{L"table", Format::Table}, {L"csv", Format::Csv}, {L"json", Format::Json}}};

bool IsHelp(std::wstring_view argument)
{
    return argument == L"--help" || argument == L"-h" || argument == L"/?";
}

bool IsOption(std::wstring_view argument)
{
    return argument.size() >= 2 && argument[0] == L'-';
}

bool Blank(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

std::wstring Shown(std::wstring_view argument)
{
    return L"'" + OneLine(argument) + L"'";
}

std::wstring LocationNames()
{
    std::wstring names;
    for (const StartupKey& key : kStartupKeys)
        names += (names.empty() ? L"" : L", ") + std::wstring(key.name);
    return names;
}

// Reads the options and operands of one command. A help flag asks for help only before the
// first operand and before "--"; after them it is an operand like any other, so that
// "add --location hkcu Name -h" adds an entry that starts "-h".
class CommandLineReader {
public:
    CommandLineReader(const CommandSyntax& syntax, const std::vector<std::wstring>& arguments)
        : syntax_(syntax), arguments_(arguments)
    {
        invocation_.command = syntax.command;
    }

    ParseResult Read()
    {
        while (next_ < arguments_.size()) {
            const std::wstring& argument = arguments_[next_++];
            const bool help = !optionsEnded_ && IsHelp(argument);
            if (help && operands_.empty())
                return Help();
            if (help || optionsEnded_ || !IsOption(argument))
                operands_.push_back(argument);
            else if (argument == L"--")
                optionsEnded_ = true;
            else
                Keep(ReadOption(argument));
        }
        // The first fault is the one reported; reading went on only to find a help flag.
        if (error_.empty())
            Keep(TakeOperands());
        if (!error_.empty())
            return {std::nullopt, syntax_.command, error_};
        return {std::move(invocation_), syntax_.command, {}};
    }

private:
    ParseResult Help() const
    {
        Invocation invocation;
        invocation.command = syntax_.command;
        invocation.help = true;
        return {std::move(invocation), syntax_.command, {}};
    }

    void Keep(std::wstring error)
    {
        if (error_.empty())
            error_ = std::move(error);
    }

    [[nodiscard]] std::wstring ReadOption(std::wstring_view argument)
    {
        const auto equals = argument.starts_with(L"--") ? argument.find(L'=') : std::wstring_view::npos;
        const std::wstring_view name = argument.substr(0, equals);
        const auto option = std::find_if(kOptions.begin(), kOptions.end(), [name](const OptionSyntax& o) {
            return o.name == name;
        });
        if (option == kOptions.end())
            return L"unknown option " + Shown(name);
        if (!Accepts(syntax_.accepted, option->option))
            return std::wstring(syntax_.name) + L" takes no " + std::wstring(name) + L" option";
        std::wstring value;
        if (equals != std::wstring_view::npos) {
            if (!option->takesValue)
                return std::wstring(name) + L" takes no value";
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (next_ >= arguments_.size())
                return std::wstring(name) + L" needs a value";
            value = arguments_[next_++];
        }
        const bool repeatable = option->option == Option::Location && syntax_.accepted.locations == Locations::AnyNumber;
        if (!repeatable && std::find(given_.begin(), given_.end(), option->option) != given_.end())
            return std::wstring(name) + L" is given twice";
        given_.push_back(option->option);
        return Apply(option->option, value);
    }

    [[nodiscard]] std::wstring Apply(Option option, const std::wstring& value)
    {
        switch (option) {
        case Option::Location: {
            const StartupKey* key = FindStartupKeyByName(value);
            if (!key)
                return L"unknown location " + Shown(value) + L" (one of " + LocationNames() + L")";
            if (std::find(invocation_.locations.begin(), invocation_.locations.end(), key) == invocation_.locations.end())
                invocation_.locations.push_back(key);
            return {};
        }
        case Option::Format: {
            const auto format = std::find_if(kFormats.begin(), kFormats.end(), [&value](const FormatName& f) {
                return f.name == value;
            });
            if (format == kFormats.end())
                return L"unknown format " + Shown(value) + L" (table, csv or json)";
            invocation_.format = format->format;
            return {};
        }
        case Option::Wide: invocation_.wide = true; return {};
        case Option::BackupFolder:
            if (value.empty())
                return L"--backup-folder needs a folder";
            invocation_.backupFolder = value;
            return {};
        case Option::DefaultValue: defaultValue_ = true; return {};
        case Option::Ignore:
            // The one field a fleet may leave to its users: Task Manager and Settings turn it.
            if (value != L"enabled")
                return L"--ignore takes only 'enabled', not " + Shown(value);
            invocation_.ignoreEnabled = true;
            return {};
        case Option::Verify: invocation_.verify = true; return {};
        case Option::NoBackup: break;
        }
        invocation_.noBackup = true;
        return {};
    }

    [[nodiscard]] std::wstring TakeOperands()
    {
        // Before the operands are counted: "add hkcu X x.exe" lacks a --location, not an argument.
        if (syntax_.accepted.locations == Locations::One && invocation_.locations.empty())
            return MissingLocation();
        std::span<const Operand> expected = syntax_.operands;
        // --default-value stands in for the NAME, which always comes first.
        if (defaultValue_)
            expected = expected.subspan(1);
        auto operand = operands_.begin();
        for (const Operand wanted : expected) {
            if (operand == operands_.end() && wanted == Operand::CurrentFile)
                break;
            if (operand == operands_.end())
                return std::wstring(L"missing ") + OperandName(wanted);
            if (std::wstring error = Take(wanted, *operand++); !error.empty())
                return error;
        }
        if (operand != operands_.end())
            return L"unexpected argument " + Shown(*operand);
        // As the window: no entry without a name or a command line to start.
        if (syntax_.command == Command::Add && Blank(invocation_.name))
            return L"NAME is blank";
        if (syntax_.command == Command::Add && Blank(invocation_.commandLine))
            return L"COMMAND is blank";
        if (syntax_.accepted.locations == Locations::AnyNumber && invocation_.locations.empty()) {
            for (const StartupKey& key : kStartupKeys)
                invocation_.locations.push_back(&key);
        }
        if (invocation_.noBackup && invocation_.backupFolder)
            return L"--no-backup and --backup-folder exclude each other";
        return {};
    }

    std::wstring MissingLocation() const
    {
        if (!operands_.empty() && FindStartupKeyByName(operands_.front()))
            return L"--location is required: write '--location " + operands_.front() + L"'";
        return L"--location is required (one of " + LocationNames() + L")";
    }

    [[nodiscard]] std::wstring Take(Operand operand, const std::wstring& value)
    {
        switch (operand) {
        case Operand::Name:
            // An empty argument is what a script passes for a variable it forgot to set; the
            // unnamed default value has an option of its own.
            if (value.empty())
                return L"NAME is empty (the unnamed default value is --default-value)";
            invocation_.name = value;
            return {};
        case Operand::CommandLine: invocation_.commandLine = value; return {};
        case Operand::File: break;
        case Operand::CurrentFile:
            if (value.empty())
                return L"CURRENT is empty";
            invocation_.currentFile = value;
            return {};
        }
        if (value.empty())
            return L"FILE is empty";
        invocation_.file = value;
        return {};
    }

    const CommandSyntax& syntax_;
    const std::vector<std::wstring>& arguments_;
    Invocation invocation_;
    std::vector<std::wstring> operands_; // in the order given
    std::vector<Option> given_;
    std::size_t next_ = 1;
    bool optionsEnded_ = false;
    bool defaultValue_ = false;
    std::wstring error_;
};

} // namespace

ParseResult ParseArguments(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty())
        return {std::nullopt, Command::Program, L"no command given"};
    const std::wstring& first = arguments[0];
    if (IsHelp(first) || first == L"--version") {
        if (arguments.size() > 1)
            return {std::nullopt, Command::Program, L"unexpected argument " + Shown(arguments[1])};
        Invocation invocation;
        invocation.help = IsHelp(first);
        invocation.version = !invocation.help;
        return {std::move(invocation), Command::Program, {}};
    }
    const auto syntax = std::find_if(kCommands.begin(), kCommands.end(), [&first](const CommandSyntax& c) {
        return first == c.name;
    });
    if (syntax == kCommands.end())
        return {std::nullopt, Command::Program, (first.starts_with(L'-') ? L"unknown option " : L"unknown command ") + Shown(first)};
    return CommandLineReader(*syntax, arguments).Read();
}

const wchar_t* CommandName(Command command)
{
    for (const CommandSyntax& syntax : kCommands) {
        if (syntax.command == command)
            return syntax.name;
    }
    return L"";
}

} // namespace qm::cli
