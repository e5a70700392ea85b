#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "backup/EntryOperations.h"
#include "host/Application.h"
#include "host/Files.h"
#include "host/SystemLibrary.h"
#include "launch/FolderItems.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"
#include "support/OwnRegistryEditor.h"
#include "support/RegistrySandbox.h"

#include "LinkBytes.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <map>

using namespace linkbytes;

namespace {

// The shell's item list for a file, as a link stores it (its terminator included).
Bytes ItemListOf(const std::wstring& path)
{
    const auto parse = qm::SystemFunction<decltype(&SHParseDisplayName)>(L"shell32.dll", "SHParseDisplayName");
    const auto size = qm::SystemFunction<decltype(&ILGetSize)>(L"shell32.dll", "ILGetSize");
    const auto free = qm::SystemFunction<decltype(&ILFree)>(L"shell32.dll", "ILFree");
    PIDLIST_ABSOLUTE items = nullptr;
    if (!parse || !size || !free || FAILED(parse(path.c_str(), nullptr, &items, 0, nullptr)))
        return {};
    const auto* first = reinterpret_cast<const std::uint8_t*>(items);
    Bytes bytes(first, first + size(items));
    free(items);
    return bytes;
}

const qm::StartupKey& UserFolder()
{
    return *qm::FindStartupKeyByName(L"startup-user");
}

class StartupFolderTest : public ::testing::Test {
protected:
    StartupFolderTest()
    {
        qm::App().SetServices(&host_);
        qmtest::ImportOnRun(host_);
        static_cast<void>(qm::CreateFolders(backups_));
    }
    ~StartupFolderTest() override { qm::App().SetServices(nullptr); }

    std::wstring InUserFolder(const std::wstring& name) const { return sandbox_.UserStartupFolder() + L"\\" + name; }
    std::vector<std::wstring> Backups() const { return qm::FindFiles(backups_ + L"\\*"); }

    qmtest::RegistrySandbox sandbox_{L"StartupFolderTest"};
    qmtest::ScriptedHost host_;
    const std::wstring backups_ = sandbox_.UserStartupFolder() + L" Backups";
};

} // namespace

TEST_F(StartupFolderTest, ListsWhatWindowsRunsAndWhatEachFileStarts)
{
    EXPECT_TRUE(qm::ReadFolderItems(UserFolder()).empty()) << "a folder nobody made is an empty source";

    Link environment;
    environment.extra = PathBlock(0xA0000001, "", u"%windir%\\system32\\cmd.exe");
    Link relative;
    relative.flags = 0x8 | 0x80;
    relative.strings = String(u"..\\Tools\\t.exe");
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    // Named by a shell item list alone, which only the shell itself can read.
    Link itemList;
    itemList.flags = 0x1 | 0x80;
    itemList.idList = ItemListOf(std::wstring(windows) + L"\\notepad.exe");
    ASSERT_FALSE(itemList.idList.empty());
    const std::map<std::wstring, Bytes> files = {
        {L"Tool.lnk", LocalLink("C:\\Program Files\\Tool\\tool.exe", u"/tray")},
        {L"Env.lnk", environment.Build()},
        {L"Rel.lnk", relative.Build()},
        {L"Items.lnk", itemList.Build()},
        {L"Broken.lnk", Bytes{'n', 'o'}},
        {L"site.url", Bytes{'[', 'I', 'n', 't', 'e', 'r', 'n', 'e', 't', 'S', 'h', 'o', 'r', 't', 'c', 'u', 't', ']', '\r',
                          '\n', 'U', 'R', 'L', '=', 'h', 't', 't', 'p', ':', '/', '/', 'x', '/', '\r', '\n'}},
        {L"run.cmd", Bytes{'@'}},
        {L"hidden.txt", Bytes{'h'}},
        {L"desktop.ini", Bytes{'[', ']'}},
    };
    for (const auto& [name, bytes] : files)
        ASSERT_TRUE(qmtest::PutFile(InUserFolder(name), bytes));
    SetFileAttributesW(InUserFolder(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(InUserFolder(L"desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(qm::CreateFolders(InUserFolder(L"Sub.lnk")));

    std::map<std::wstring, std::wstring> listed;
    for (const qm::FolderItem& item : qm::ReadFolderItems(UserFolder()))
        listed[item.fileName] = item.command;
    const std::wstring folder = sandbox_.UserStartupFolder();
    const std::map<std::wstring, std::wstring> expected = {
        {L"Tool.lnk", L"\"C:\\Program Files\\Tool\\tool.exe\" /tray"},
        {L"Env.lnk", std::wstring(windows) + L"\\system32\\cmd.exe"},
        {L"Rel.lnk", folder.substr(0, folder.rfind(L'\\')) + L"\\Tools\\t.exe"},
        {L"Items.lnk", std::wstring(windows) + L"\\notepad.exe"},
        {L"Broken.lnk", L""},
        {L"site.url", L"http://x/"},
        {L"run.cmd", L"\"" + InUserFolder(L"run.cmd") + L"\""},
        {L"hidden.txt", L"\"" + InUserFolder(L"hidden.txt") + L"\""},
    };
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(qm::ShownName(L"Tool.lnk"), L"Tool");
    EXPECT_EQ(qm::ShownName(L"site.url"), L"site.url");
}

TEST_F(StartupFolderTest, ARemovedItemComesBackByteForByteWithItsState)
{
    const Bytes link = LocalLink("C:\\Windows\\notepad.exe");
    for (const bool disabled : {true, false}) {
        SCOPED_TRACE(disabled ? "disabled" : "without a state");
        ASSERT_TRUE(qmtest::PutFile(InUserFolder(L"Tool.lnk"), link));
        if (disabled) {
            ASSERT_TRUE(qm::SetStartupEnabled(UserFolder(), L"Tool.lnk", false));
        }
        const auto state = qm::ReadApprovedValue(UserFolder(), L"Tool.lnk");

        const qm::ChangeResult removed = qm::RemoveStartupEntry(UserFolder(), L"Tool.lnk", {backups_});
        ASSERT_EQ(removed.outcome, qm::Outcome::Done);
        EXPECT_EQ(removed.backupPath, backups_ + L"\\Tool.lnk.reg");
        EXPECT_FALSE(qm::IsPlainFile(InUserFolder(L"Tool.lnk")));
        EXPECT_FALSE(qm::ReadApprovedValue(UserFolder(), L"Tool.lnk"));
        // Put back by hand, the copy is the very file and the .reg file its state.
        EXPECT_EQ(qm::ReadWholeFile(backups_ + L"\\Tool.lnk"), link);
        const auto content = qm::DescribeBackup(removed.backupPath);
        ASSERT_TRUE(content);
        EXPECT_EQ(content->source, &UserFolder());
        EXPECT_EQ(content->keyPath, sandbox_.UserStartupFolder());
        EXPECT_EQ(content->name, L"Tool.lnk");
        EXPECT_EQ(content->enabled, !disabled);
        EXPECT_EQ(qm::ListBackups({backups_}).size(), 1u) << "the copy is no backup of its own";

        // The same name again never replaces the first backup.
        ASSERT_TRUE(qmtest::PutFile(InUserFolder(L"Tool.lnk"), Bytes{'x'}));
        const qm::ChangeResult second = qm::RemoveStartupEntry(UserFolder(), L"Tool.lnk", {backups_});
        EXPECT_EQ(second.backupPath, backups_ + L"\\Tool_2.lnk.reg");
        EXPECT_EQ(qm::ReadWholeFile(backups_ + L"\\Tool_2.lnk"), Bytes{'x'});

        // Restored over a file of that name: the file it replaces is saved first.
        ASSERT_TRUE(qmtest::PutFile(InUserFolder(L"Tool.lnk"), Bytes{'y'}));
        const qm::ChangeResult restored = qm::RestoreFromBackup(removed.backupPath, {backups_});
        ASSERT_EQ(restored.outcome, qm::Outcome::Done);
        EXPECT_EQ(restored.entryName, L"Tool.lnk");
        EXPECT_EQ(qm::ReadWholeFile(InUserFolder(L"Tool.lnk")), link);
        const auto stateBack = qm::ReadApprovedValue(UserFolder(), L"Tool.lnk");
        ASSERT_EQ(stateBack.has_value(), state.has_value());
        if (state) {
            EXPECT_EQ(stateBack->data, state->data);
        }
        ASSERT_FALSE(restored.backupPath.empty());
        EXPECT_EQ(qm::ReadWholeFile(qm::FolderItemCopyPath(restored.backupPath)), Bytes{'y'});

        for (const std::wstring& name : Backups()) {
            if (name.ends_with(L".reg")) {
                EXPECT_TRUE(qm::DeleteBackup(backups_ + L"\\" + name));
            }
        }
        EXPECT_TRUE(Backups().empty());
        ASSERT_TRUE(qm::DeleteFileAt(InUserFolder(L"Tool.lnk")));
        ASSERT_TRUE(qm::DeleteApprovedValue(UserFolder(), L"Tool.lnk"));
    }
}

TEST_F(StartupFolderTest, ARegistryFileComesBackEvenIntoAMissingFolderButNotWithoutItsCopy)
{
    ASSERT_TRUE(qmtest::PutFile(InUserFolder(L"a.reg"), Bytes{'@'}));
    const qm::ChangeResult removed = qm::RemoveStartupEntry(UserFolder(), L"a.reg", {backups_});
    ASSERT_EQ(removed.outcome, qm::Outcome::Done);
    // Its copy, a .reg file itself, is part of its backup and not one of its own.
    EXPECT_EQ(qm::ListBackups({backups_}).size(), 1u);
    // The folder itself gone: the restore makes it again.
    ASSERT_TRUE(RemoveDirectoryW(sandbox_.UserStartupFolder().c_str()));
    EXPECT_EQ(qm::RestoreFromBackup(removed.backupPath, {backups_}).outcome, qm::Outcome::Done);
    EXPECT_EQ(qm::ReadWholeFile(InUserFolder(L"a.reg")), Bytes{'@'});

    const qm::ChangeResult again = qm::RemoveStartupEntry(UserFolder(), L"a.reg", {backups_});
    ASSERT_TRUE(qm::DeleteFileAt(qm::FolderItemCopyPath(again.backupPath)));
    const qm::ChangeResult withoutCopy = qm::RestoreFromBackup(again.backupPath, {backups_});
    EXPECT_EQ(withoutCopy.outcome, qm::Outcome::NotDone);
    EXPECT_EQ(withoutCopy.why, qm::Why::NotAStartupBackup);
    EXPECT_FALSE(qm::IsPlainFile(InUserFolder(L"a.reg")));
    EXPECT_EQ(qm::RemoveStartupEntry(UserFolder(), L"a.reg", {backups_}).why, qm::Why::NoSuchEntry);
}
