#include "cli/Arguments.h"

#include <gtest/gtest.h>

using qm::cli::ParseArguments;

namespace {

// What a parsed line does, as one comparable line of text.
std::wstring Describe(const qm::cli::Invocation& in)
{
    std::wstring text = in.help ? L"help " : in.version ? L"version " : L"";
    text += qm::cli::CommandName(in.command);
    for (const qm::StartupKey* key : in.locations)
        text += L" @" + std::wstring(key->name);
    text += in.format == qm::cli::Format::Json ? L" json" : in.format == qm::cli::Format::Csv ? L" csv" : L"";
    text += in.wide ? L" wide" : L"";
    text += in.verify ? L" verify" : L"";
    text += L" [" + in.name + L"|" + in.commandLine + L"|" + in.file + L"]";
    if (in.backupFolder)
        text += L" to " + *in.backupFolder;
    if (in.noBackup)
        text += L" without backup";
    if (in.currentFile)
        text += L" against " + *in.currentFile;
    if (in.ignoreEnabled)
        text += L" ignoring enabled";
    return text;
}

struct Line {
    std::vector<std::wstring> arguments;
    std::wstring expected; // the description, or the error's text for a refused line
};

const std::wstring kAll = L" @hklm @hklm-services @hkcu @hku-default @hklm32 @hklm-services32 @hklm-runonce @hklm-runonce32 "
                          L"@hkcu-runonce @hklm-policies @hkcu-policies @startup-common @startup-user";
const std::wstring kNames = L"hklm, hklm-services, hkcu, hku-default, hklm32, hklm-services32, hklm-runonce, hklm-runonce32, "
                            L"hkcu-runonce, hklm-policies, hkcu-policies, startup-common, startup-user";

} // namespace

TEST(ArgumentsTest, GoodLinesSayWhatToDo)
{
    const Line lines[] = {
        {{L"list"}, L"list" + kAll + L" [||]"},
        {{L"list", L"--location", L"hkcu", L"--format=json", L"--location=hklm32", L"--location", L"hkcu"},
            L"list @hkcu @hklm32 json [||]"},
        {{L"add", L"My, \"App\"", L"--location", L"hku-default", L"--backup-folder=D:\\b c", L"C:\\a.exe /x"},
            L"add @hku-default [My, \"App\"|C:\\a.exe /x|] to D:\\b c"},
        {{L"add", L"--location", L"hkcu", L"--", L"-dash", L"--run"}, L"add @hkcu [-dash|--run|]"},
        {{L"remove", L"--location", L"hkcu", L"--", L"--help"}, L"remove @hkcu [--help||]"},
        {{L"disable", L"--location", L"hklm", L"\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600 \\ \" "},
            L"disable @hklm [\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600 \\ \" ||]"},
        {{L"backups", L"--format", L"csv", L"--backup-folder", L"X"}, L"backups csv [||] to X"},
        // Location names ignore case, as registry paths do.
        {{L"list", L"--location", L"HKCU", L"--wide", L"--location=Hklm32"}, L"list @hkcu @hklm32 wide [||]"},
        {{L"list", L"--verify", L"--location", L"hkcu"}, L"list @hkcu verify [||]"},
        {{L"remove", L"--bogus", L"--help"}, L"help remove [||]"},
        {{L"remove", L"--location", L"hkcu", L"-h"}, L"help remove [||]"},
        {{L"add", L"--location", L"hkcu", L"/?"}, L"help add [||]"},
        // Past the first operand a help flag is an operand: here the command line to start.
        {{L"add", L"--location", L"hkcu", L"RvX", L"-h"}, L"add @hkcu [RvX|-h|]"},
        {{L"remove", L"--no-backup", L"--location", L"hkcu", L"--default-value"}, L"remove @hkcu [||] without backup"},
        {{L"--help"}, L"help  [||]"},
        {{L"--version"}, L"version  [||]"},
        {{L"compare", L"base.json"}, L"compare" + kAll + L" [||base.json]"},
        {{L"compare", L"--ignore=enabled", L"base.json", L"--location", L"hkcu", L"now.json", L"--format", L"csv"},
            L"compare @hkcu csv [||base.json] against now.json ignoring enabled"},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(testing::PrintToString(line.arguments));
        const auto parsed = ParseArguments(line.arguments);
        ASSERT_TRUE(parsed.invocation) << testing::PrintToString(parsed.error);
        EXPECT_EQ(Describe(*parsed.invocation), line.expected);
    }
}

TEST(ArgumentsTest, BadLinesAreRefusedWithOneLineSaying)
{
    const Line lines[] = {
        {{}, L"no command given"},
        {{L"lst"}, L"unknown command 'lst'"},
        {{L"--version", L"x"}, L"unexpected argument 'x'"},
        {{L"list", L"--location"}, L"--location needs a value"},
        {{L"list", L"--location", L"HKCX"},
            L"unknown location 'HKCX' (one of " + kNames + L")"},
        {{L"list", L"--format", L"xml"}, L"unknown format 'xml' (table, csv or json)"},
        {{L"list", L"--format", L"csv", L"--format=json"}, L"--format is given twice"},
        {{L"remove", L"--location", L"hkcu"}, L"missing NAME"},
        {{L"remove", L"--location", L"hkcu", L"--location", L"hklm", L"x"}, L"--location is given twice"},
        {{L"remove", L"--location", L"hkcu", L""}, L"NAME is empty (the unnamed default value is --default-value)"},
        {{L"remove", L"--location", L"hkcu", L"--default-value=yes"}, L"--default-value takes no value"},
        {{L"remove", L"--location", L"hkcu", L"--format", L"json", L"x"}, L"remove takes no --format option"},
        {{L"add", L"--location", L"hkcu", L"name"}, L"missing COMMAND"},
        {{L"add", L"--location", L"hkcu", L"   ", L"x.exe"}, L"NAME is blank"},
        {{L"add", L"--location", L"hkcu", L"--default-value", L"x.exe"}, L"add takes no --default-value option"},
        {{L"add", L"--location", L"hkcu", L"--no-backup", L"x", L"x.exe"}, L"add takes no --no-backup option"},
        {{L"remove", L"--location", L"hkcu", L"--no-backup", L"--backup-folder", L"D:\\b", L"x"},
            L"--no-backup and --backup-folder exclude each other"},
        {{L"remove", L"--location", L"hkcu", L"x", L"--help"}, L"unexpected argument '--help'"},
        {{L"backups", L"--backup-folder="}, L"--backup-folder needs a folder"},
        {{L"restore"}, L"missing FILE"},
        {{L"restore", L"x.reg", L"--wide"}, L"restore takes no --wide option"},
        {{L"compare"}, L"missing FILE"},
        {{L"compare", L"a.json", L"b.json", L"c.json"}, L"unexpected argument 'c.json'"},
        {{L"compare", L"a.json", L""}, L"CURRENT is empty"},
        {{L"compare", L"--ignore", L"command", L"a.json"}, L"--ignore takes only 'enabled', not 'command'"},
        {{L"list", L"--ignore", L"enabled"}, L"list takes no --ignore option"},
        {{L"backups", L"--verify"}, L"backups takes no --verify option"},
        {{L"list", L"--verify=yes"}, L"--verify takes no value"},
        // A missing --location is named before any count of operands.
        {{L"add", L"HKCU", L"X", L"notepad.exe"}, L"--location is required: write '--location HKCU'"},
        {{L"disable", L"x", L"y"},
            L"--location is required (one of " + kNames + L")"},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(testing::PrintToString(line.arguments));
        const auto parsed = ParseArguments(line.arguments);
        EXPECT_FALSE(parsed.invocation);
        EXPECT_EQ(parsed.error, line.expected);
    }
}
