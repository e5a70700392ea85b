#include "host/OptionButton.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind OptionButton::Kind() const
{
    // Not an auto radio button: the group's state changes only through Select, so the
    // click handler runs exactly when the selection moves.
    return {WC_BUTTONW, WS_TABSTOP | BS_RADIOBUTTON, 0};
}

bool OptionButton::Value() const
{
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetChecked(bool checked)
{
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool OptionButton::TakesFocus() const
{
    return Control::TakesFocus() && Value();
}

void OptionButton::Select()
{
    if (Value())
        return;
    // The container is the parent window: every radio button in it is one group.
    for (HWND sibling = GetWindow(GetParent(hwnd_), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(sibling, className, static_cast<int>(std::size(className)));
        if (sibling != hwnd_ && lstrcmpiW(className, WC_BUTTONW) == 0 &&
            (GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON)
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SetChecked(true);
    if (onClick)
        onClick();
}

void OptionButton::OnCommand(WORD code)
{
    if (code == BN_CLICKED)
        Select();
}

} // namespace qm
