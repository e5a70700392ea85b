#include "host/Control.h"

#include "host/Application.h"
#include "host/Form.h"

namespace qm {

std::wstring WindowText(HWND hwnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

wchar_t AccessKeyOf(const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t letter = caption[i + 1];
        CharUpperBuffW(&letter, 1);
        return letter;
    }
    return 0;
}

Control::Control(std::wstring name, TwipsRect rect, std::wstring caption)
    : name_(std::move(name)), rect_(rect), initialCaption_(std::move(caption))
{
}

HWND Control::Hwnd() const
{
    if (!hwnd_ && madeLaterBy_)
        static_cast<void>(madeLaterBy_->CreateLaterControls());
    return hwnd_;
}

bool Control::Visible() const
{
    return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible)
{
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const
{
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Control::SetEnabled(bool enabled)
{
    if (!enabled)
        PassFocusOn();
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::PassFocusOn()
{
    if (!hwnd_ || GetFocus() != hwnd_)
        return;
    if (Form* form = Form::FromHwnd(GetParent(hwnd_)))
        form->MoveFocus(false);
}

void Control::Focus()
{
    SetFocus(hwnd_);
}

std::wstring Control::Caption() const
{
    return hwnd_ ? WindowText(hwnd_) : initialCaption_;
}

void Control::SetCaption(const std::wstring& caption)
{
    if (!hwnd_)
        initialCaption_ = caption;
    else
        SetWindowTextW(hwnd_, caption.c_str());
}

HWND Control::Create(HWND parent, int id, const RECT& bounds)
{
    const auto kind = Kind();
    return CreateWindowExW(kind.exStyle, kind.className, initialCaption_.c_str(),
        kind.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top, bounds.right - bounds.left,
        bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App().Module(), nullptr);
}

bool Control::TakesFocus() const
{
    return Visible() && Enabled();
}

} // namespace qm
