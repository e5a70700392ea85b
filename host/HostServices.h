#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qm {

// Message box codes and results used by the windows.
inline constexpr unsigned kMbOk = 0;
inline constexpr unsigned kMbYesNoQuestion = 36;
inline constexpr unsigned kMbOkExclamation = 48;
// Yes and No, the exclamation icon, No as the default.
inline constexpr unsigned kMbYesNoExclamationNoDefault = 4 + 48 + 256;
inline constexpr unsigned kMbOkInformation = 64;
inline constexpr int kMbResultNo = 7;

// Everything a window does that must not happen for real in a test: questions that wait for
// a person, dialogs, and programs started beside ours. Tests install a scripted responder.
class HostServices {
public:
    virtual ~HostServices() = default;

    // Modal message box; returns the button pressed (IDOK, IDYES, IDNO...).
    virtual int ShowMessage(HWND owner, const std::wstring& text, unsigned code, const std::wstring& title) = 0;

    // The file-open dialog; the chosen path, or nothing when cancelled or failed.
    [[nodiscard]] virtual std::optional<std::wstring> OpenFileDialog(HWND owner, const std::wstring& title) = 0;

    // Starts a command line in a normal window with the focus, without waiting.
    [[nodiscard]] virtual bool StartProcess(const std::wstring& commandLine) = 0;

    // The shell's "open" verb, show command 1, no owner; the result is not reported.
    virtual void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory) = 0;

    // Starts a program through the shell (so Windows may ask for elevation) and waits for it
    // to end while the caller's windows keep painting and refuse input. The exit code, or
    // nothing when the program could not be started or did not end within the timeout.
    [[nodiscard]] virtual std::optional<DWORD> RunAndWait(const std::wstring& file, const std::wstring& parameters, DWORD timeoutMs) = 0;
};

// The real services of the platform.
class PlatformHostServices final : public HostServices {
public:
    int ShowMessage(HWND owner, const std::wstring& text, unsigned code, const std::wstring& title) override;
    [[nodiscard]] std::optional<std::wstring> OpenFileDialog(HWND owner, const std::wstring& title) override;
    [[nodiscard]] bool StartProcess(const std::wstring& commandLine) override;
    void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory) override;
    [[nodiscard]] std::optional<DWORD> RunAndWait(const std::wstring& file, const std::wstring& parameters, DWORD timeoutMs) override;
};

} // namespace qm
