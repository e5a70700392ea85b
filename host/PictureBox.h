#pragma once

#include "host/Control.h"

#include <windows.h>

#include <functional>

namespace qm {

// A picture the window draws itself, at whatever size the control has at the current DPI.
class PictureBox final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }

    std::function<void(HDC dc, const RECT& rect)> onPaint;

protected:
    WindowKind Kind() const override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
};

} // namespace qm
