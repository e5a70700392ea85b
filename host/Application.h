#pragma once

#include "host/HostServices.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qm {

struct Version {
    int major;
    int minor;
    int revision;
};

// The one application object: who we are, where we live, which windows are loaded and
// which host services answer for the platform.
class Application {
public:
    static Application& Instance();

    HINSTANCE Module() const;
    // The folder that holds the executable, without a trailing backslash; read afresh each time.
    std::wstring Folder() const;
    const std::wstring& Title() const { return title_; }
    Version AppVersion() const;

    HostServices& Services() const { return *services_; }
    // Tests replace the services; nullptr puts the platform's back.
    void SetServices(HostServices* services);

    // Top-level windows register while they exist, so that ending the program can close them
    // all. The filter sees every message for the window or its children before dispatch
    // (tab order and access keys); it returns true when it handled the message.
    using MessageFilter = std::function<bool(MSG&)>;
    void AddWindow(HWND hwnd, MessageFilter filter = {});
    void RemoveWindow(HWND hwnd);
    std::vector<HWND> Windows() const;
    // Destroys every loaded window in turn, then asks the message loop to end.
    void EndProgram();

    // Lets the waiting window messages run once.
    void DoEvents();
    // Waits for a handle to be signalled while the windows keep painting, as under a modal
    // dialog: input for them is swallowed, so no command can start in the middle of the wait,
    // and no window is closed by it. True when the handle was signalled within the timeout.
    [[nodiscard]] bool WaitPaintingOnly(HANDLE handle, DWORD timeoutMs);
    // Runs until EndProgram or WM_QUIT; returns the exit code.
    int RunMessageLoop();
    // Filters and dispatches one message as the message loop does.
    void Dispatch(MSG& msg);

private:
    Application();

    std::wstring title_ = L"Quillmoor";
    PlatformHostServices platform_;
    HostServices* services_;
    struct Loaded {
        HWND hwnd;
        MessageFilter filter;
    };
    std::vector<Loaded> windows_;
};

inline Application& App() { return Application::Instance(); }

} // namespace qm
