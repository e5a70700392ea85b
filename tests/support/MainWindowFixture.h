#pragma once

#include "app/FrmMain.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qmtest {

// A sandboxed registry, scripted host services and a main window that a test loads after
// seeding its keys.
class MainWindowTest : public ::testing::Test {
protected:
    // Unsandboxed only for tests that need the real registry editor, which cannot see a
    // redirection of ours: they run in the private Wine prefix alone.
    explicit MainWindowTest(bool sandboxed = true);
    ~MainWindowTest() override;

    // Loads and shows the window; the start-up lists location 1.
    qm::FrmMain& LoadWindow();

    // Name and command line of every listed entry, paired by index.
    std::set<std::pair<std::wstring, std::wstring>> ListedEntries();
    static std::vector<std::wstring> Items(const qm::ListBox& list);

    // Delivers a key as the message loop would, to the focused control.
    void PressKey(UINT vk, bool alt = false);
    static void Click(qm::TintButtonControl& button);
    // Discards a quit request left by ending the program.
    static bool TakeQuitMessage();

    // Backups live beside the test executable, as they do beside the program.
    static std::wstring BackupPath(const std::wstring& baseName);
    static std::vector<std::wstring> BackupFiles();
    static void RemoveBackupFiles();
    // Selects the listed entry of that name (both lists follow); false when it is not listed.
    bool SelectEntry(const std::wstring& name);
    bool SelectBackup(const std::wstring& baseName);

    std::optional<RegistrySandbox> sandbox_;
    ScriptedHost host_;

private:
    std::unique_ptr<qm::FrmMain> main_;
};

} // namespace qmtest
