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

std::wstring TempFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"QuillmoorLaunchTest\\" + name;
}

// A scratch folder for the registered tool location, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) : path_(TempFolder(name))
    {
        CreateDirectoryW(TempFolder(L"").c_str(), nullptr);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        const std::wstring exe = path_ + L"\\MSINFO32.EXE";
        DeleteFileW(exe.c_str());
        RemoveDirectoryW(exe.c_str());
        RemoveDirectoryW(path_.c_str());
        RemoveDirectoryW(TempFolder(L"").c_str());
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The bytes of a string value, with or without its terminating NUL.
std::string Stored(const std::wstring& text, bool terminated = true)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}


} // namespace

TEST(GetKeyValue, ReadsEachTypeAsText)
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
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_TRUE(qmtest::SetValue(HKEY_LOCAL_MACHINE, kKey, c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size())));
        std::wstring text = L"as passed";
        EXPECT_TRUE(qm::GetKeyValue(HKEY_LOCAL_MACHINE, kKey, c.name, text));
        EXPECT_EQ(text, c.expected);
    }

    for (const auto& [key, value] : {std::pair{kKey, L"missing"}, std::pair{L"SOFTWARE\\Missing", L"sz"}}) {
        std::wstring text = L"stale";
        EXPECT_FALSE(qm::GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text));
        EXPECT_EQ(text, L"");
    }
}

// Standard users may read the tool's keys but not write them; reading must not ask for more.
TEST(GetKeyValue, ReadsAKeyThatDeniesWriting)
{
    qmtest::RegistrySandbox sandbox(L"LaunchReadOnlyKey");
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, L"PATH", L"C:\\msinfo32.exe"));
    // Everyone is denied setting values and creating sub-keys and links.
    const qmtest::DenyingDacl deny(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK);
    ASSERT_TRUE(deny.Applied());
    HKEY writable = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, 0, 0x2003F, &writable), ERROR_ACCESS_DENIED);

    std::wstring text;
    EXPECT_TRUE(qm::GetKeyValue(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, L"PATH", text));
    EXPECT_EQ(text, L"C:\\msinfo32.exe");

    qmtest::ScriptedHost host;
    qm::StartSysInfo(nullptr);
    EXPECT_EQ(host.processes, std::vector<std::wstring>{L"\"C:\\msinfo32.exe\""});
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST(StartSysInfo, StartsTheRegisteredToolOrSaysItIsUnavailable)
{
    enum class Folder { None, WithTool, Empty, ToolIsFolder };
    const struct {
        const wchar_t* name;
        std::optional<std::wstring> path;
        Folder folder;
        bool startSucceeds;
        bool expectFolderTool;
        std::optional<std::wstring> expectedProcess;
    } cases[] = {
        {L"PathFirst", L"C:\\Program Files\\Info\\msinfo32.exe", Folder::WithTool, true, false,
            L"\"C:\\Program Files\\Info\\msinfo32.exe\""},
        {L"PathQuoted", L"\"C:\\Info\\msinfo32.exe\"", Folder::None, true, false, L"\"C:\\Info\\msinfo32.exe\""},
        {L"FolderTool", std::nullopt, Folder::WithTool, true, true, std::nullopt},
        {L"Nothing", std::nullopt, Folder::None, true, false, std::nullopt},
        {L"EmptyFolder", std::nullopt, Folder::Empty, true, false, std::nullopt},
        {L"ToolIsFolder", std::nullopt, Folder::ToolIsFolder, true, false, std::nullopt},
        {L"StartFails", L"C:\\Info\\msinfo32.exe", Folder::None, false, false, L"\"C:\\Info\\msinfo32.exe\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        qmtest::RegistrySandbox sandbox(std::wstring(L"LaunchSysInfo") + c.name);
        ScratchFolder folder(c.name);
        const std::wstring tool = folder.Path() + L"\\MSINFO32.EXE";
        if (c.path) {
            ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, qm::kMsinfoKey, L"PATH", *c.path));
        }
        if (c.folder != Folder::None) {
            ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, qm::kSharedToolsLocationKey, L"MSINFO", folder.Path()));
        }
        if (c.folder == Folder::WithTool) {
            HANDLE file = CreateFileW(tool.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
        if (c.folder == Folder::ToolIsFolder) {
            ASSERT_TRUE(CreateDirectoryW(tool.c_str(), nullptr));
        }

        qmtest::ScriptedHost host;
        host.startProcessAnswer = c.startSucceeds;
        qm::StartSysInfo(nullptr);

        std::vector<std::wstring> expected;
        if (c.expectedProcess)
            expected.push_back(*c.expectedProcess);
        if (c.expectFolderTool)
            expected.push_back(L"\"" + tool + L"\"");
        EXPECT_EQ(host.processes, expected);
        if (!expected.empty() && c.startSucceeds) {
            EXPECT_TRUE(host.messageBoxes.empty());
        } else {
            ASSERT_EQ(host.messageBoxes.size(), 1u);
            EXPECT_EQ(host.messageBoxes[0].text, L"System Information Is Unavailable At This Time");
            EXPECT_EQ(host.messageBoxes[0].code, 0u);
            EXPECT_EQ(host.messageBoxes[0].title, L"Quillmoor");
        }
    }
}
