#include "launch/Launchers.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WindowsDirectory()
{
    wchar_t path[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? path : L"";
}

} // namespace

TEST(Launchers, EachOpensItsFileInNotepadOrTheStartupFolderMadeWhenMissing)
{
    const std::wstring windows = WindowsDirectory();
    const qmtest::RegistrySandbox sandbox(L"Launchers");
    const std::wstring startup = sandbox.UserStartupFolder();
    ASSERT_FALSE(windows.empty());

    const struct {
        const char* name;
        void (*open)();
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
        c.open();
        ASSERT_EQ(host.shellOpens.size(), 1u);
        EXPECT_EQ(host.shellOpens[0].file, c.expected.file);
        EXPECT_EQ(host.shellOpens[0].parameters, c.expected.parameters);
        EXPECT_EQ(host.shellOpens[0].directory, c.expected.directory);
        EXPECT_TRUE(host.processes.empty());
    }
    EXPECT_TRUE(IsDirectory(startup));
}
