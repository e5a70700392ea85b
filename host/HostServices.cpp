#include "host/HostServices.h"

#include "host/Application.h"
#include "host/Handles.h"
#include "host/SystemLibrary.h"

#include <commdlg.h>
#include <shellapi.h>

namespace qm {

int PlatformHostServices::ShowMessage(HWND owner, const std::wstring& text, unsigned code, const std::wstring& title)
{
    return MessageBoxW(owner, text.c_str(), title.c_str(), code);
}

std::optional<std::wstring> PlatformHostServices::OpenFileDialog(HWND owner, const std::wstring& title)
{
    // The file-name box starts empty; the buffer keeps the classic 255-character size.
    wchar_t file[255] = {};
    wchar_t fileTitle[255] = {};
    static constexpr wchar_t kFilter[] = L"All Files (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.hInstance = App().Module();
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = static_cast<DWORD>(std::size(fileTitle));
    ofn.lpstrTitle = title.c_str();
    const auto getOpenFileName = SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!getOpenFileName || !getOpenFileName(&ofn))
        return std::nullopt;
    return std::wstring(file);
}

bool PlatformHostServices::StartProcess(const std::wstring& commandLine)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    std::wstring mutableLine = commandLine;
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Started, never waited for.
    const UniqueKernelHandle thread(pi.hThread);
    const UniqueKernelHandle process(pi.hProcess);
    return true;
}

void PlatformHostServices::ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory)
{
    if (const auto shellExecute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW"))
        shellExecute(nullptr, L"open", file.c_str(), parameters.c_str(), directory.c_str(), SW_SHOWNORMAL);
}

std::optional<DWORD> PlatformHostServices::RunAndWait(const std::wstring& file, const std::wstring& parameters, DWORD timeoutMs)
{
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = L"open";
    sei.lpFile = file.c_str();
    sei.lpParameters = parameters.c_str();
    sei.nShow = SW_SHOWNORMAL;
    const auto shellExecuteEx = SystemFunction<decltype(&ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (!shellExecuteEx || !shellExecuteEx(&sei) || !sei.hProcess)
        return std::nullopt;
    const UniqueKernelHandle process(sei.hProcess);

    // While it runs, our windows refuse input as they would under a modal dialog.
    if (!App().WaitPaintingOnly(process.get(), timeoutMs))
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code))
        return std::nullopt;
    return code;
}

} // namespace qm
