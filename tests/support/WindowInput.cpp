#include "support/WindowInput.h"

#include "host/Application.h"

namespace qmtest {

void PressKey(HWND target, UINT vk, bool alt)
{
    MSG msg{};
    msg.hwnd = target;
    msg.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = alt ? (1 << 29) | 1 : 1;
    qm::App().Dispatch(msg);
    qm::App().DoEvents();
}

bool TakeQuitMessage()
{
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            quit = true;
        else
            DispatchMessageW(&msg);
    }
    return quit;
}

} // namespace qmtest
