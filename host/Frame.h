#pragma once

#include "host/Control.h"

#include <windows.h>

namespace qm {

// An etched rectangle that groups the controls laid over it; it has no caption.
class Frame final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }

protected:
    WindowKind Kind() const override;
};

} // namespace qm
