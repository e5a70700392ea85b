#include "host/Image.h"

#include "host/Application.h"

#include <commctrl.h>

namespace qm {

Image::Image(std::wstring name, TwipsRect rect, int iconId) : Control(std::move(name), rect), iconId_(iconId) {}

Control::WindowKind Image::Kind() const
{
    // Without SS_REALSIZECONTROL the control would shrink to the icon and ignore its layout.
    return {WC_STATICW, SS_ICON | SS_REALSIZECONTROL, 0};
}

void Image::OnCreated()
{
    // A shared icon belongs to the system's cache: nobody destroys it.
    const HANDLE icon = LoadImageW(App().Module(), MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 0, 0,
        LR_DEFAULTSIZE | LR_SHARED);
    SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

} // namespace qm
