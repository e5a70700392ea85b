#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemFolders.h"
#include "launch/ProgramPath.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramCandidates, ProcessCreationTriesEachBlankFromTheLeft)
{
    const struct {
        const wchar_t* commandLine;
        std::vector<std::wstring> candidates;
    } cases[] = {
        {L"C:\\Program Files\\App\\app.exe /x",
            {L"C:\\Program", L"C:\\Program Files\\App\\app.exe", L"C:\\Program Files\\App\\app.exe /x"}},
        {L"  \"C:\\Program Files\\App\\app.exe\" /x", {L"C:\\Program Files\\App\\app.exe"}},
        {L"\"C:\\unclosed quote.exe", {L"C:\\unclosed quote.exe"}},
        {L"notepad.exe", {L"notepad.exe"}},
        {L"   ", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::ProgramCandidates(c.commandLine), c.candidates) << testing::PrintToString(std::wstring(c.commandLine));
}

TEST(FindProgram, FindsTheProgramWindowsWouldStart)
{
    qmtest::RegistrySandbox sandbox(L"FindProgram");
    const std::wstring folder = qm::App().Folder() + L"\\Qm Program Test";
    const std::wstring program = folder + L"\\app.exe";
    ASSERT_TRUE(qm::CreateFolders(folder));
    ASSERT_EQ(qm::WriteWholeFile(program, {'M', 'Z'}), 0u);
    SetEnvironmentVariableW(L"QM_TEST_PROGRAMS", folder.c_str());
    SetEnvironmentVariableW(L"QM_TEST_SHARE", L"\\\\server\\share");
    const std::wstring appPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, appPaths + L"QmRegistered.exe", L"", program));
    ASSERT_TRUE(qmtest::SetString(HKEY_CURRENT_USER, appPaths + L"QmShared.exe", L"", L"\\\\server\\share\\shared.exe"));
    const std::wstring system = qm::ExpandEnvironmentVariables(L"%SystemRoot%\\system32\\");
    const std::wstring path = qm::ExpandEnvironmentVariables(L"%PATH%");
    // A bare name is never looked for where the checker happens to run.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

    const struct {
        std::wstring commandLine;
        qm::ProgramCheck check;
        std::wstring path;
        std::wstring pathFirst = {}; // a folder put before PATH
    } cases[] = {
        {program + L" /x", qm::ProgramCheck::Found, program},
        {L"\"" + program + L"\" /x", qm::ProgramCheck::Found, program},
        {folder + L"\\app /x", qm::ProgramCheck::Found, program},
        {L"\\\\?\\" + program + L" /x", qm::ProgramCheck::Found, L"\\\\?\\" + program},
        {L"%QM_TEST_PROGRAMS%\\app.exe", qm::ProgramCheck::Found, program},
        {L"notepad.exe /p x.txt", qm::ProgramCheck::Found, system + L"notepad.exe"},
        {L"QmRegistered --tray", qm::ProgramCheck::Found, program},
        {L"app --tray", qm::ProgramCheck::Missing, L"app"},
        {L"app --tray", qm::ProgramCheck::Found, program, folder},
        {folder + L"\\gone.exe -min", qm::ProgramCheck::Missing, folder + L"\\gone.exe"},
        {L"subfolder\\app.exe", qm::ProgramCheck::NotChecked, L"subfolder\\app.exe"},
        {L"https://example.com/start", qm::ProgramCheck::NotChecked, L"https://example.com/start"}, // an Internet shortcut's
        {L"rundll32 shell32.dll,Control_RunDLL", qm::ProgramCheck::Found, system + L"shell32.dll"},
        {L"rundll32.exe \"" + folder + L"\\gone.dll\",Start", qm::ProgramCheck::Missing, folder + L"\\gone.dll"},
        {L"rundll32.exe \\\\server\\share\\x.dll,Start", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\x.dll"},
        {L"\\\\server\\share\\tool.exe", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\tool.exe"},
        {L"\\\\?\\UNC\\server\\share\\tool.exe", qm::ProgramCheck::NotChecked, L"\\\\?\\UNC\\server\\share\\tool.exe"},
        {L"//server/share/tool.exe -x", qm::ProgramCheck::NotChecked, L"//server/share/tool.exe"},
        {L"%QM_TEST_SHARE%\\tool.exe", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\tool.exe"},
        {L"QmShared /x", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\shared.exe"},
        {L"QmNowhere", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\QmNowhere", L"\\\\server\\share"},
    };
    for (const auto& c : cases) {
        SetEnvironmentVariableW(L"PATH", (c.pathFirst.empty() ? path : c.pathFirst + L";" + path).c_str());
        const auto found = qm::FindProgram(c.commandLine);
        EXPECT_EQ(found.check, c.check) << testing::PrintToString(c.commandLine);
        EXPECT_EQ(CompareStringOrdinal(found.path.c_str(), -1, c.path.c_str(), -1, TRUE), CSTR_EQUAL)
            << testing::PrintToString(found.path);
    }
    SetEnvironmentVariableW(L"PATH", path.c_str());
    SetCurrentDirectoryW(current);
    static_cast<void>(qm::DeleteFileAt(program));
    RemoveDirectoryW(folder.c_str());
}

} // namespace
