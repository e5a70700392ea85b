#include "controls/tintButton/TintButtonControl.h"

#include "host/Form.h"

namespace qm {

TintButtonControl::TintButtonControl(std::wstring name, TwipsRect rect, std::wstring caption)
    : Control(std::move(name), rect, std::move(caption))
{
}

Control::WindowKind TintButtonControl::Kind() const
{
    return {TintButton::kClassName, WS_TABSTOP, 0};
}

HWND TintButtonControl::Create(HWND parent, int id, const RECT& bounds)
{
    // The caption is still the one given to the control, as no window holds it yet. A stored
    // button loads it and its enabled state with the rest, and is drawn once.
    const std::wstring caption = Caption();
    if (stored_) {
        if (!caption.empty())
            stored_->Write(KeyName(PropertyKey::TX), caption);
        if (!initialEnabled_)
            stored_->Write(KeyName(PropertyKey::ENAB), false);
        button_ = TintButton::CreateLoaded(parent, id, bounds, *stored_, this);
    } else {
        button_ = TintButton::CreateNew(parent, id, bounds, this);
        if (button_ && !initialEnabled_)
            button_->Model().SetEnabled(false);
    }
    if (!button_)
        return nullptr;
    button_->Events().Click = [this] { RaiseClick(); };
    // Members go before the form that holds them: the form is not to hear of this window's end.
    const HWND hwnd = button_->hwnd();
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_NOPARENTNOTIFY);
    return hwnd;
}

void TintButtonControl::OnWindowShown()
{
    if (button_)
        button_->RetakeBackground();
}

void TintButtonControl::SetEnabled(bool enabled)
{
    if (!enabled)
        PassFocusOn();
    if (button_)
        button_->Model().SetEnabled(enabled);
    else
        initialEnabled_ = enabled;
}

void TintButtonControl::SetCaption(const std::wstring& caption)
{
    if (button_)
        button_->Model().SetCaption(caption);
    else
        Control::SetCaption(caption);
}

wchar_t TintButtonControl::AccessKey() const
{
    const std::wstring key = button_ ? button_->Model().AccessKeys() : AccessKeyFor(Caption());
    if (key.empty())
        return 0;
    wchar_t letter = key.front();
    CharUpperBuffW(&letter, 1);
    return letter;
}

void TintButtonControl::Click()
{
    if (button_)
        button_->AccessKeyPress();
}

void TintButtonControl::RaiseClick()
{
    // From a copy: the handler may close the window that owns this control.
    if (onClick) {
        const auto handler = onClick;
        handler();
    }
}

FontDesc TintButtonControl::AmbientFont() const
{
    return Form::FontDescFor(Font());
}

UINT TintButtonControl::Dpi(HWND control) const
{
    // The form's DPI changes before its controls hear of it.
    if (const Form* form = control ? Form::FromHwnd(GetParent(control)) : nullptr)
        return form->Dpi();
    return ControlSite::Dpi(control);
}

void TintButtonControl::MoveFocus(HWND from, bool backwards)
{
    if (Form* form = Form::FromHwnd(GetParent(from)))
        form->MoveFocus(backwards);
    else
        ControlSite::MoveFocus(from, backwards);
}

} // namespace qm
