#include "host/SystemFolders.h"
#include "launch/Launchers.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>

namespace {

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TEST(Launchers, EachOpensItsTargetWithOneShellCall)
{
    const std::wstring windows = qm::WinDir();
    ASSERT_TRUE(IsDirectory(windows));
    ASSERT_NE(windows.back(), L'\\');
    const std::wstring startup = qm::GetSpecialFolderPath(CSIDL_STARTUP);
    ASSERT_TRUE(IsDirectory(startup));

    const struct {
        const char* name;
        std::function<void()> action;
        qmtest::ScriptedHost::ShellCall expected;
    } cases[] = {
        {"control.ini", qm::OpenControlIni, {L"notepad.exe", windows + L"\\control.ini", L""}},
        {"win.ini", qm::OpenWinIni, {L"notepad.exe", windows + L"\\win.ini", L""}},
        {"autoexec.bat", qm::OpenAutoexecBat, {L"notepad.exe", L"C:\\autoexec.bat", L""}},
        {"Startup folder", qm::OpenStartupFolder, {startup, L"", startup}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qmtest::ScriptedHost host;
        c.action();
        ASSERT_EQ(host.shellOpens.size(), 1u);
        EXPECT_EQ(host.shellOpens[0].file, c.expected.file);
        EXPECT_EQ(host.shellOpens[0].parameters, c.expected.parameters);
        EXPECT_EQ(host.shellOpens[0].directory, c.expected.directory);
        EXPECT_TRUE(host.processes.empty());
        EXPECT_TRUE(host.messageBoxes.empty());
    }
}
