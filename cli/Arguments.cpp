#include "cli/Arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qm::cli {

namespace {

// What a command accepts besides --help.
enum OptionBit : unsigned {
    kOneLocation = 1,   // --location, exactly once
    kManyLocations = 2, // --location, any number of times
    kFormatOption = 4,
    kBackupFolderOption = 8,
    kDefaultValueOption = 16,
};

struct CommandSyntax {
    Command command;
    const wchar_t* name;
    unsigned options;
    std::array<const wchar_t*, 2> operands; // their names, nullptr past the last
};

constexpr std::array<CommandSyntax, 7> kCommands = {{
    {Command::List, L"list", kManyLocations | kFormatOption, {}},
    {Command::Add, L"add", kOneLocation | kBackupFolderOption, {L"NAME", L"COMMAND"}},
    {Command::Remove, L"remove", kOneLocation | kBackupFolderOption | kDefaultValueOption, {L"NAME", nullptr}},
    {Command::Disable, L"disable", kOneLocation | kDefaultValueOption, {L"NAME", nullptr}},
    {Command::Enable, L"enable", kOneLocation | kDefaultValueOption, {L"NAME", nullptr}},
    {Command::Backups, L"backups", kFormatOption | kBackupFolderOption, {}},
    {Command::Restore, L"restore", 0, {L"FILE", nullptr}},
}};

struct OptionSyntax {
    std::wstring_view name;
    unsigned bits;
    bool takesValue;
};

constexpr std::array<OptionSyntax, 4> kOptions = {{
    {L"--location", kOneLocation | kManyLocations, true},
    {L"--format", kFormatOption, true},
    {L"--backup-folder", kBackupFolderOption, true},
    {L"--default-value", kDefaultValueOption, false},
}};

struct FormatName {
    std::wstring_view name;
    Format format;
};

constexpr std::array<FormatName, 3> kFormats = {{{L"table", Format::Table}, {L"csv", Format::Csv}, {L"json", Format::Json}}};

bool IsHelp(std::wstring_view argument)
{
    return argument == L"--help" || argument == L"-h" || argument == L"/?";
}

std::size_t OperandCount(const CommandSyntax& syntax)
{
    return static_cast<std::size_t>(std::count_if(syntax.operands.begin(), syntax.operands.end(), [](const wchar_t* n) {
        return n != nullptr;
    }));
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

// Reads the options and operands of one command.
class CommandLineReader {
public:
    CommandLineReader(const CommandSyntax& syntax, const std::vector<std::wstring>& arguments)
        : syntax_(syntax), arguments_(arguments)
    {
        invocation_.command = syntax.command;
    }

    ParseResult Read()
    {
        while (next_ < arguments_.size() && error_.empty()) {
            const std::wstring& argument = arguments_[next_++];
            if (optionsEnded_ || argument.size() < 2 || argument[0] != L'-')
                operands_.push_back(argument);
            else if (argument == L"--")
                optionsEnded_ = true;
            else
                ReadOption(argument);
        }
        if (error_.empty())
            TakeOperands();
        if (!error_.empty())
            return {std::nullopt, syntax_.command, error_};
        return {std::move(invocation_), syntax_.command, {}};
    }

private:
    void ReadOption(std::wstring_view argument)
    {
        const auto equals = argument.starts_with(L"--") ? argument.find(L'=') : std::wstring_view::npos;
        const std::wstring_view name = argument.substr(0, equals);
        const auto option = std::find_if(kOptions.begin(), kOptions.end(), [name](const OptionSyntax& o) {
            return o.name == name;
        });
        if (option == kOptions.end()) {
            error_ = L"unknown option " + Shown(name);
            return;
        }
        const unsigned bits = option->bits & syntax_.options;
        if (bits == 0) {
            error_ = std::wstring(syntax_.name) + L" takes no " + std::wstring(name) + L" option";
            return;
        }
        std::wstring value;
        if (equals != std::wstring_view::npos) {
            if (!option->takesValue) {
                error_ = std::wstring(name) + L" takes no value";
                return;
            }
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (next_ >= arguments_.size()) {
                error_ = std::wstring(name) + L" needs a value";
                return;
            }
            value = arguments_[next_++];
        }
        if ((seen_ & bits & ~kManyLocations) != 0) {
            error_ = std::wstring(name) + L" is given twice";
            return;
        }
        seen_ |= bits;
        Apply(bits, value);
    }

    void Apply(unsigned bits, const std::wstring& value)
    {
        if (bits & (kOneLocation | kManyLocations)) {
            const StartupKey* key = FindStartupKeyByName(value);
            if (!key)
                error_ = L"unknown location " + Shown(value) + L" (one of " + LocationNames() + L")";
            else if (std::find(invocation_.locations.begin(), invocation_.locations.end(), key) == invocation_.locations.end())
                invocation_.locations.push_back(key);
        } else if (bits & kFormatOption) {
            const auto format = std::find_if(kFormats.begin(), kFormats.end(), [&value](const FormatName& f) {
                return f.name == value;
            });
            if (format == kFormats.end())
                error_ = L"unknown format " + Shown(value) + L" (table, csv or json)";
            else
                invocation_.format = format->format;
        } else if (bits & kBackupFolderOption) {
            if (value.empty())
                error_ = L"--backup-folder needs a folder";
            invocation_.backupFolder = value;
        } else if (bits & kDefaultValueOption) {
            defaultValue_ = true;
        }
    }

    void TakeOperands()
    {
        // --default-value stands in for the NAME.
        const std::size_t expected = OperandCount(syntax_) - (defaultValue_ ? 1 : 0);
        if (operands_.size() < expected) {
            error_ = std::wstring(L"missing ") + syntax_.operands[operands_.size() + (defaultValue_ ? 1 : 0)];
            return;
        }
        if (operands_.size() > expected) {
            error_ = L"unexpected argument " + Shown(operands_[expected]);
            return;
        }
        if ((syntax_.options & kOneLocation) && invocation_.locations.empty()) {
            error_ = L"--location is required";
            return;
        }
        if ((syntax_.options & kManyLocations) && invocation_.locations.empty()) {
            for (const StartupKey& key : kStartupKeys)
                invocation_.locations.push_back(&key);
        }
        switch (syntax_.command) {
        case Command::Add:
            TakeName(operands_[0]);
            invocation_.commandLine = operands_[1];
            // As the window: no entry without a name or a command line to start.
            if (error_.empty() && Blank(invocation_.name))
                error_ = L"NAME is blank";
            else if (error_.empty() && Blank(invocation_.commandLine))
                error_ = L"COMMAND is blank";
            break;
        case Command::Remove:
        case Command::Disable:
        case Command::Enable:
            if (!defaultValue_)
                TakeName(operands_[0]);
            break;
        case Command::Restore:
            invocation_.file = operands_[0];
            if (invocation_.file.empty())
                error_ = L"FILE is empty";
            break;
        default:
            break;
        }
    }

    void TakeName(const std::wstring& name)
    {
        // An empty argument is what a script passes for a variable it forgot to set; the
        // unnamed default value has an option of its own.
        if (name.empty())
            error_ = L"NAME is empty (the unnamed default value is --default-value)";
        invocation_.name = name;
    }

    const CommandSyntax& syntax_;
    const std::vector<std::wstring>& arguments_;
    Invocation invocation_;
    std::vector<std::wstring> operands_;
    std::size_t next_ = 1;
    unsigned seen_ = 0;
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
    // --help before any "--" asks for the command's help, whatever else the line holds.
    const auto end = std::find(arguments.begin() + 1, arguments.end(), L"--");
    if (std::any_of(arguments.begin() + 1, end, [](const std::wstring& a) { return IsHelp(a); })) {
        Invocation invocation;
        invocation.command = syntax->command;
        invocation.help = true;
        return {std::move(invocation), syntax->command, {}};
    }
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
