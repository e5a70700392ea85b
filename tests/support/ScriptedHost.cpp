#include "support/ScriptedHost.h"

#include "host/Application.h"

namespace qmtest {

ScriptedHost::ScriptedHost()
{
    qm::App().SetServices(this);
}

ScriptedHost::~ScriptedHost()
{
    qm::App().SetServices(nullptr);
}

int ScriptedHost::ShowMessage(HWND, const std::wstring& text, unsigned code, const std::wstring& title)
{
    messageBoxes.push_back({text, code, title});
    if (onMessageBox)
        onMessageBox(messageBoxes.back());
    if (messageBoxAnswers.empty())
        return IDOK;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

std::optional<std::wstring> ScriptedHost::OpenFileDialog(HWND, const std::wstring& title)
{
    fileDialogs.push_back(title);
    if (fileDialogAnswers.empty())
        return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

bool ScriptedHost::StartProcess(const std::wstring& commandLine)
{
    processes.push_back(commandLine);
    return startProcessAnswer;
}

void ScriptedHost::ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory)
{
    shellOpens.push_back({file, parameters, directory});
}

std::optional<DWORD> ScriptedHost::RunAndWait(const std::wstring& file, const std::wstring& parameters, DWORD timeoutMs)
{
    runs.push_back({file, parameters, {}});
    if (runForReal)
        return platform_.RunAndWait(file, parameters, timeoutMs);
    if (onRun)
        onRun();
    return runAndWaitAnswer;
}

} // namespace qmtest
