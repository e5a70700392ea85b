#pragma once

#include "controls/tintButton/TintButtonColors.h"

#include <windows.h>

namespace qm {

// The platform behind a button's colors. The container colors are those the parent of the
// control window paints a standard button in, read by answering WM_CTLCOLORBTN on its own
// drawing surface; with no window, those of the screen.
class PlatformColors final : public ColorSource {
public:
    void SetControl(HWND control) { control_ = control; }

    Color Translate(Color color) const override;
    Color System(int index) const override;
    void Container(Color& background, Color& text) const override;

private:
    HWND control_ = nullptr;
};

} // namespace qm
