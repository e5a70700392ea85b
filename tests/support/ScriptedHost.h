#pragma once

#include "host/HostServices.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qmtest {

// Stands in for the platform's host services while a test runs: records every call and
// answers message boxes and the file dialog from a script. Installed for its lifetime.
class ScriptedHost final : public qm::HostServices {
public:
    struct MessageBoxCall {
        std::wstring text;
        unsigned code;
        std::wstring title;
    };
    struct ShellCall {
        std::wstring file;
        std::wstring parameters;
        std::wstring directory;
    };

    ScriptedHost();
    ~ScriptedHost() override;
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // Answers for the next message boxes, in order; IDOK when the script runs out.
    std::deque<int> messageBoxAnswers;
    // What happens while a message box is up (a real one lets other messages run).
    std::function<void(const MessageBoxCall&)> onMessageBox;
    // Answers for the next file dialogs; cancelled when the script runs out.
    std::deque<std::optional<std::wstring>> fileDialogAnswers;
    // RunAndWait goes to the real platform when set (the real registry editor), else answers this.
    bool runForReal = false;
    std::optional<DWORD> runAndWaitAnswer = 0;
    // What the scripted program does while it "runs" (for example, import a file itself).
    std::function<void()> onRun;
    bool startProcessAnswer = true;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<std::wstring> fileDialogs;
    std::vector<std::wstring> processes;
    std::vector<ShellCall> shellOpens;
    std::vector<ShellCall> runs;

    int ShowMessage(HWND owner, const std::wstring& text, unsigned code, const std::wstring& title) override;
    std::optional<std::wstring> OpenFileDialog(HWND owner, const std::wstring& title) override;
    bool StartProcess(const std::wstring& commandLine) override;
    void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory) override;
    std::optional<DWORD> RunAndWait(const std::wstring& file, const std::wstring& parameters, DWORD timeoutMs) override;

private:
    qm::PlatformHostServices platform_;
};

} // namespace qmtest
