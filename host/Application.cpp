#include "host/Application.h"

#include "QuillmoorVersion.h"

#include <algorithm>

namespace qm {

Application& Application::Instance()
{
    static Application app;
    return app;
}

Application::Application() : services_(&platform_) {}

HINSTANCE Application::Module() const
{
    return GetModuleHandleW(nullptr);
}

std::wstring Application::Folder() const
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

Version Application::AppVersion() const
{
    return {QM_VERSION_MAJOR, QM_VERSION_MINOR, QM_VERSION_PATCH};
}

void Application::SetServices(HostServices* services)
{
    services_ = services ? services : &platform_;
}

void Application::AddWindow(HWND hwnd, MessageFilter filter)
{
    windows_.push_back({hwnd, std::move(filter)});
}

void Application::RemoveWindow(HWND hwnd)
{
    std::erase_if(windows_, [hwnd](const Loaded& w) { return w.hwnd == hwnd; });
}

std::vector<HWND> Application::Windows() const
{
    std::vector<HWND> result;
    for (const auto& w : windows_)
        result.push_back(w.hwnd);
    return result;
}

void Application::EndProgram()
{
    // Destroying a window removes it from the list, so take a copy first.
    for (HWND hwnd : Windows()) {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    PostQuitMessage(0);
}

void Application::Dispatch(MSG& msg)
{
    const HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    // Called from a copy: a filter may destroy its own window (an access key on a Close
    // button), which takes the window and its filter out of the list while the filter runs.
    MessageFilter filter;
    for (const auto& w : windows_) {
        if (w.hwnd == top) {
            filter = w.filter;
            break;
        }
    }
    if (filter && filter(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Application::DoEvents()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

namespace {

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// Runs what is waiting but input; false when a quit request came (it is left for the loop).
bool DispatchAllButInput()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        // Sent messages (a close request from another program among them) are delivered by
        // PeekMessage itself; the windows defer what must wait.
        if (!IsInput(msg.message))
            DispatchMessageW(&msg);
    }
    return true;
}

} // namespace

bool Application::WaitPaintingOnly(HANDLE handle, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    DWORD wait = WAIT_TIMEOUT;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        wait = MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (wait != WAIT_OBJECT_0 + 1 || !DispatchAllButInput())
            break;
    }
    // Input that came during the wait belongs to it: a click queued meanwhile must not run a
    // command once the wait is over.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
    return wait == WAIT_OBJECT_0 || WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

int Application::RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

} // namespace qm
