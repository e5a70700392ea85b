#pragma once

#include "controls/tintButton/TintButton.h"
#include "host/ControlSite.h"
#include "host/Control.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qm {

// A tintButton that a Form holds like a PushButton: the form lays it out, orders it for Tab,
// shows its tooltip and routes Alt and the button's own access key to it. The button's
// window text is its Caption.
class TintButtonControl final : public Control, private ControlSite {
public:
    TintButtonControl(std::wstring name, TwipsRect rect, std::wstring caption = {});

    // Before the form is made: the button loads these stored properties instead of taking a
    // new button's defaults. A caption given to the control still wins over the stored one.
    void UseStoredProperties(PropertyStore properties) { stored_ = std::move(properties); }
    // The button itself, once the form has made it.
    TintButton* Button() const { return button_.get(); }

    void SetEnabled(bool enabled) override;
    void SetCaption(const std::wstring& caption) override;
    wchar_t AccessKey() const override;
    // Clicks the button as its access key does: runs onClick unless the button is disabled.
    void Click();
    void OnAccessKey() override { Click(); }

    std::function<void()> onClick;

protected:
    WindowKind Kind() const override;
    HWND Create(HWND parent, int id, const RECT& bounds) override;
    void OnWindowShown() override;

private:
    FontDesc AmbientFont() const override;
    UINT Dpi(HWND control) const override;
    std::wstring DisplayName() const override { return Caption(); }
    void MoveFocus(HWND from, bool backwards) override;
    void RaiseClick();

    std::optional<PropertyStore> stored_;
    std::unique_ptr<TintButton> button_;
    bool initialEnabled_ = true;
};

} // namespace qm
