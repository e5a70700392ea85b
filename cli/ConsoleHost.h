#pragma once

#include "cli/Console.h"
#include "host/HostServices.h"

namespace qm::cli {

// The host services of a command-line run: nothing may open a window or wait for a person.
// A message goes to standard error as one line; only the registry editor is really started,
// since a restore needs it.
class ConsoleHostServices final : public HostServices {
public:
    explicit ConsoleHostServices(TextSink& errors) : errors_(errors) {}

    int ShowMessage(HWND owner, const std::wstring& text, unsigned code, const std::wstring& title) override;
    [[nodiscard]] std::optional<std::wstring> OpenFileDialog(HWND owner, const std::wstring& title) override;
    [[nodiscard]] bool StartProcess(const std::wstring& commandLine) override;
    void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory) override;
    [[nodiscard]] std::optional<DWORD> RunAndWait(const std::wstring& file, const std::wstring& parameters,
        DWORD timeoutMs) override;

private:
    TextSink& errors_;
    PlatformHostServices platform_;
};

} // namespace qm::cli
