#pragma once

#include "host/Control.h"

#include <windows.h>

namespace qm {

// An icon resource stretched to the control's rectangle.
class Image final : public Control {
public:
    Image(std::wstring name, TwipsRect rect, int iconId);
    bool TakesFocus() const override { return false; }

protected:
    WindowKind Kind() const override;
    void OnCreated() override;

private:
    int iconId_;
};

} // namespace qm
