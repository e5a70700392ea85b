#pragma once

#include "host/Control.h"

#include <windows.h>

namespace qm {

class Label final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }
    COLORREF background = CLR_INVALID; // the window's colour when not set
    COLORREF textColor = CLR_INVALID;  // the system's window-text colour when not set

protected:
    WindowKind Kind() const override;
};

} // namespace qm
