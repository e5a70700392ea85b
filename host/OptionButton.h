#pragma once

#include "host/Control.h"

#include <windows.h>

#include <functional>

namespace qm {

// Option buttons of one window form one group: selecting one deselects the others.
class OptionButton final : public Control {
public:
    using Control::Control;

    bool Value() const;
    // Selects this option; runs the click handler when it was not selected before.
    void Select();
    bool TakesFocus() const override;

    std::function<void()> onClick;

protected:
    friend class Form;
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;

private:
    void SetChecked(bool checked);
};

} // namespace qm
