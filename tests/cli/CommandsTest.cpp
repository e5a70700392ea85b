#include "cli/Commands.h"
#include "cli/ConsoleHost.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "registry/RegistryApi.h"
#include "registry/StartupApproved.h"
#include "support/DenyingDacl.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

class StringSink final : public qm::cli::TextSink {
public:
    bool Write(std::wstring_view text) override
    {
        text_ += text;
        return !broken_;
    }
    std::wstring text_;
    bool broken_ = false;
};

const std::vector<BYTE> kDisabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

// The second value deletion fails: a removal's StartupApproved value, after its entry went.
LSTATUS WINAPI SecondDeletionRefused(HKEY key, LPCWSTR name)
{
    static int deletions = 0;
    return ++deletions == 2 ? ERROR_ACCESS_DENIED : RegDeleteValueW(key, name);
}

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

TEST_F(CommandsTest, ExitCodesSayWhatChanged)
{
    const qm::StartupKey& hkcu = *qm::FindStartupKeyByName(L"hkcu");
    auto disable = [&](const wchar_t* name) {
        ASSERT_TRUE(qm::WriteValueRaw(HKEY_CURRENT_USER, hkcu.approvedSubKey, name, {REG_BINARY, kDisabled}, 0, true));
    };
    auto backups = [&] { return qm::FindFiles(folder_ + L"\\*.reg").size(); };
    const std::vector<std::wstring> removeKeep = {L"remove", L"--location", L"hkcu", L"--backup-folder", folder_, L"keep"};

    // A refusing StartupApproved key is found before anything changes.
    disable(L"keep");
    {
        const qmtest::DenyingDacl denied(HKEY_CURRENT_USER, hkcu.approvedSubKey, KEY_SET_VALUE);
        ASSERT_TRUE(denied.Applied());
        EXPECT_EQ(Run(removeKeep), 1);
        EXPECT_EQ(err_.text_, L"quillmoor-cli: \"keep\" was not removed: access refused\r\n");
    }
    EXPECT_EQ(KeepData(), L"k.exe");
    EXPECT_EQ(backups(), 0u);
    EXPECT_EQ(Run({L"remove", L"--location", L"hkcu", L"--no-backup", L"keep"}), 1);
    EXPECT_EQ(err_.text_, L"quillmoor-cli: \"keep\" was not removed: a backup file can hold it, so --no-backup does not apply\r\n");
    EXPECT_EQ(Run({L"add", L"--location", L"hkcu", L"Two\nLines", L"x.exe"}), 1);
    EXPECT_EQ(err_.text_, L"quillmoor-cli: \"Two\x240ALines\" was not added: a name cannot hold a line break or a NUL character\r\n");

    // A state that cannot be removed after its entry went: done in part.
    {
        qm::RegistryApi api = qm::PlatformRegistry();
        api.deleteValue = &SecondDeletionRefused;
        const qm::ScopedRegistryApi scoped(api);
        EXPECT_EQ(Run(removeKeep), 3);
    }
    EXPECT_EQ(err_.text_, L"quillmoor-cli: \"keep\" was removed, but its StartupApproved value could not be removed\r\n");
    EXPECT_EQ(out_.text_, folder_ + L"\\keep.reg\r\n");
    EXPECT_EQ(KeepData(), L"(none)");
    EXPECT_EQ(backups(), 1u);

    // A new entry starts enabled, a leftover state gone; a replaced one whose backup path
    // cannot be printed is done in part.
    EXPECT_EQ(Run({L"add", L"--location", L"hkcu", L"keep", L"k2.exe"}), 0);
    EXPECT_FALSE(qm::ReadApprovedValue(hkcu, L"keep"));
    out_.broken_ = true;
    EXPECT_EQ(Run({L"add", L"--location", L"hkcu", L"--backup-folder", folder_, L"keep", L"k3.exe"}), 3);
    EXPECT_EQ(err_.text_, L"quillmoor-cli: \"keep\" was replaced; its backup is '" + folder_ +
        L"\\keep_2.reg', but standard output could not be written\r\n");
    EXPECT_EQ(KeepData(), L"k3.exe");
}
