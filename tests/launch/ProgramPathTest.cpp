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
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE,
        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QmRegistered.exe", L"", program));
    const std::wstring system = qm::ExpandEnvironmentVariables(L"%SystemRoot%\\system32\\notepad.exe");

    const struct {
        std::wstring commandLine;
        qm::ProgramCheck check;
        std::wstring path;
    } cases[] = {
        {program + L" /x", qm::ProgramCheck::Found, program},
        {L"\"" + program + L"\" /x", qm::ProgramCheck::Found, program},
        {folder + L"\\app /x", qm::ProgramCheck::Found, program},
        {L"%QM_TEST_PROGRAMS%\\app.exe", qm::ProgramCheck::Found, program},
        {L"notepad.exe /p x.txt", qm::ProgramCheck::Found, system},
        {L"QmRegistered --tray", qm::ProgramCheck::Found, program},
        {folder + L"\\gone.exe -min", qm::ProgramCheck::Missing, folder + L"\\gone.exe"},
        {L"\\\\server\\share\\tool.exe", qm::ProgramCheck::NotChecked, L"\\\\server\\share\\tool.exe"},
    };
    for (const auto& c : cases) {
        const auto found = qm::FindProgram(c.commandLine);
        EXPECT_EQ(found.check, c.check) << testing::PrintToString(c.commandLine);
        EXPECT_EQ(CompareStringOrdinal(found.path.c_str(), -1, c.path.c_str(), -1, TRUE), CSTR_EQUAL)
            << testing::PrintToString(found.path);
    }
    static_cast<void>(qm::DeleteFileAt(program));
    RemoveDirectoryW(folder.c_str());
}

} // namespace
