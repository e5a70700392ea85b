#pragma once

#include "host/Control.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qm {

class TextBox final : public Control {
public:
    using Control::Control;

    std::wstring Text() const { return Caption(); }
    // Setting the text runs the change handler, as typing does.
    void SetText(const std::wstring& text) { SetCaption(text); }

    std::function<void()> onChange;

protected:
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;
};

} // namespace qm
