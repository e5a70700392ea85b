#include "controls/tintButton/TintButtonPlatformColors.h"

#include "controls/tintButton/TintButtonModel.h"
#include "host/Handles.h"

namespace qm {

Color PlatformColors::Translate(Color color) const
{
    return TintButtonModel::TranslateColor(color);
}

Color PlatformColors::System(int index) const
{
    return GetSysColor(index);
}

void PlatformColors::Container(Color& background, Color& text) const
{
    const HWND parent = GetParent(control_);
    WindowDC dc(parent);
    if (!dc) {
        background = 0;
        text = 0;
        return;
    }
    SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control_));
    background = GetBkColor(dc.get());
    text = GetTextColor(dc.get());
}

} // namespace qm
