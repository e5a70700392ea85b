#include "host/Application.h"
#include "host/Files.h"
#include "launch/SystemInfo.h"
#include "support/DenyingDacl.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kKey[] = L"SOFTWARE\\QuillmoorTest";

std::string Stored(const std::wstring& text, bool terminated = true)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

} // namespace

TEST(GetKeyValue, ReadsEachTypeAsTextWithReadAccessOnly)
{
    qmtest::RegistrySandbox sandbox(L"LaunchGetKeyValue");
    SetEnvironmentVariableW(L"QM_TEST_TOOLS", L"D:\\Tools");
    const std::wstring longText(3000, L'x');
    const DWORD number = 0x1A2B;
    const struct {
        const wchar_t* name;
        DWORD type;
        std::string data;
        std::wstring expected;
    } cases[] = {
        {L"sz", REG_SZ, Stored(L"C:\\Tools\\msinfo32.exe"), L"C:\\Tools\\msinfo32.exe"},
        {L"long", REG_SZ, Stored(longText), longText},
        {L"unterminated", REG_SZ, Stored(L"abc", false), L"abc"},
        {L"expand", REG_EXPAND_SZ, Stored(L"%QM_TEST_TOOLS%\\x.exe"), L"D:\\Tools\\x.exe"},
        {L"dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number)), L"&h1A2B"},
        {L"binary", REG_BINARY, std::string("\x01\x02\x03"), L"as passed"},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(qmtest::SetValue(HKEY_LOCAL_MACHINE, kKey, c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size())));
    // Standard users may read the tool's keys but not write them.
    const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, kKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK);
    ASSERT_TRUE(deny.Applied());
    for (const auto& c : cases) {
        std::wstring text = L"as passed";
        EXPECT_TRUE(qm::GetKeyValue(HKEY_LOCAL_MACHINE, kKey, c.name, text)) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(text, c.expected);
    }
    for (const auto& [key, value] : {std::pair{kKey, L"missing"}, std::pair{L"SOFTWARE\\Missing", L"sz"}}) {
        std::wstring text = L"stale";
        EXPECT_FALSE(qm::GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text));
        EXPECT_EQ(text, L"");
    }
}

TEST(StartSysInfo, StartsTheRegisteredToolOrSaysItIsUnavailable)
{
    const std::wstring folder = qm::App().Folder() + L"\\Qm SysInfo Test";
    const std::wstring tool = folder + L"\\MSINFO32.EXE";
    enum class Tool { None, File, Folder };
    const struct {
        std::optional<std::wstring> path;
        bool folderRegistered;
        Tool tool;
        bool startSucceeds;
        std::vector<std::wstring> processes;
    } cases[] = {
        {L"C:\\Program Files\\Info\\msinfo32.exe", true, Tool::File, true, {L"\"C:\\Program Files\\Info\\msinfo32.exe\""}},
        {std::nullopt, true, Tool::File, true, {L"\"" + tool + L"\""}},
        {std::nullopt, false, Tool::None, true, {}},
        {std::nullopt, true, Tool::Folder, true, {}},
        {L"C:\\Info\\msinfo32.exe", false, Tool::None, false, {L"\"C:\\Info\\msinfo32.exe\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        qmtest::RegistrySandbox sandbox(L"LaunchSysInfo");
        ASSERT_TRUE(qm::CreateFolders(folder));
        if (c.path) {
            ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, L"PATH", *c.path));
        }
        if (c.folderRegistered) {
            ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, qm::kSharedToolsLocationKey, L"MSINFO", folder));
        }
        if (c.tool == Tool::File) {
            ASSERT_EQ(qm::WriteWholeFile(tool, {}), 0u);
        }
        if (c.tool == Tool::Folder) {
            ASSERT_TRUE(CreateDirectoryW(tool.c_str(), nullptr));
        }

        qmtest::ScriptedHost host;
        host.startProcessAnswer = c.startSucceeds;
        qm::StartSysInfo(nullptr);
        EXPECT_EQ(host.processes, c.processes);
        const bool told = c.processes.empty() || !c.startSucceeds;
        ASSERT_EQ(host.messageBoxes.size(), told ? 1u : 0u);
        if (told) {
            EXPECT_EQ(host.messageBoxes[0].text, L"System Information Is Unavailable At This Time");
            EXPECT_EQ(host.messageBoxes[0].code, 0u);
            EXPECT_EQ(host.messageBoxes[0].title, L"Quillmoor");
        }
        static_cast<void>(qm::DeleteFileAt(tool));
        RemoveDirectoryW(tool.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}
