#include "cli/Commands.h"
#include "cli/ConsoleHost.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "support/DenyingDacl.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

class StringSink final : public qm::cli::TextSink {
public:
    bool Write(std::wstring_view text) override
    {
        text_ += text;
        return true;
    }
    std::wstring text_;
};

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"QmCliCommandsTest";
}

// The command line run in-process on a sandboxed registry, its backups in a folder of its own.
class CommandsTest : public testing::Test {
protected:
    CommandsTest() : host_(err_)
    {
        qm::App().SetServices(&host_);
        RemoveFolder();
        static_cast<void>(qm::CreateFolders(folder_));
        qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, L"keep", L"k.exe");
    }
    ~CommandsTest() override
    {
        qm::App().SetServices(nullptr);
        RemoveFolder();
    }
    void RemoveFolder()
    {
        for (const std::wstring& name : qm::FindFiles(folder_ + L"\\*"))
            static_cast<void>(qm::DeleteFileAt(folder_ + L"\\" + name));
        RemoveDirectoryW(folder_.c_str());
    }
    int Run(const std::vector<std::wstring>& arguments)
    {
        out_.text_.clear();
        err_.text_.clear();
        return qm::cli::RunCommandLine(arguments, {out_, err_});
    }
    std::wstring KeepData()
    {
        const auto raw = qm::ReadValueRaw(HKEY_CURRENT_USER, qmtest::kRunKey, L"keep");
        return raw ? reinterpret_cast<const wchar_t*>(raw->data.data()) : L"(none)";
    }

    qmtest::RegistrySandbox sandbox_{L"CliCommands"};
    StringSink out_;
    StringSink err_;
    qm::cli::ConsoleHostServices host_;
    const std::wstring folder_ = TempFolder();
};

} // namespace

TEST_F(CommandsTest, FailuresChangeNothingAndSayWhyOnOneLine)
{
    qmtest::SetString(HKEY_USERS, qmtest::kDefaultRunKey, L"dflt", L"d.exe");
    const std::wstring notAFolder = folder_ + L"\\foreign.reg";
    const std::string foreign = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Foo]\r\n\"keep\"=\"y\"\r\n";
    ASSERT_EQ(qm::WriteWholeFile(notAFolder, {foreign.begin(), foreign.end()}), 0u);
    const std::pair<std::vector<std::wstring>, std::wstring> cases[] = {
        {{L"remove", L"--location", L"hkcu", L"gone"}, L"hkcu has no entry \"gone\""},
        {{L"enable", L"--location", L"hkcu", L"--default-value"}, L"hkcu has no default value"},
        {{L"disable", L"--location", L"hku-default", L"dflt"},
            L"hku-default has no StartupApproved key: Windows keeps no enabled state for its entries"},
        {{L"remove", L"--location", L"hkcu", L"--backup-folder", notAFolder, L"keep"},
            L"\"keep\" was not removed because its backup copy could not be saved"},
        {{L"add", L"--location", L"hkcu", L"--backup-folder", notAFolder, L"keep", L"x.exe"},
            L"\"keep\" was not replaced because its backup copy could not be saved"},
        {{L"add", L"--location", L"hklm-services", L"new", L"x.exe"},
            L"\"new\" was not written: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices is "
            L"missing or refused the write"},
        {{L"restore", notAFolder}, L"'" + notAFolder + L"' is not a backup of a startup entry and was not imported"},
        {{L"backups", L"--backup-folder", folder_ + L"\\none"}, L"'" + folder_ + L"\\none' is not a folder"},
    };
    for (const auto& [arguments, reason] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        EXPECT_EQ(Run(arguments), 1);
        EXPECT_EQ(err_.text_, L"quillmoor-cli: " + reason + L"\r\n");
        EXPECT_EQ(out_.text_, L"");
        EXPECT_EQ(KeepData(), L"k.exe");
    }
    EXPECT_EQ(qm::FindFiles(folder_ + L"\\*"), std::vector<std::wstring>{L"foreign.reg"});

    const qmtest::DenyingDacl denied(HKEY_CURRENT_USER, qmtest::kRunKey, KEY_QUERY_VALUE);
    ASSERT_TRUE(denied.Applied());
    EXPECT_EQ(Run({L"list", L"--location", L"hkcu", L"--location", L"hku-default"}), 1);
    EXPECT_EQ(err_.text_, L"quillmoor-cli: hkcu cannot be read: access refused\r\n");
    EXPECT_NE(out_.text_.find(L"dflt"), std::wstring::npos);
}
