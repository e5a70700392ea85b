#include "host/ListBox.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind ListBox::Kind() const
{
    return {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0};
}

void ListBox::Add(const std::wstring& text)
{
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::Clear()
{
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
}

int ListBox::Count() const
{
    return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

int ListBox::SelectedIndex() const
{
    return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::SetSelectedIndex(int index)
{
    if (index < -1 || index >= Count())
        return;
    if (index == SelectedIndex())
        return;
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onClick)
        onClick();
}

std::wstring ListBox::Item(int index) const
{
    const LRESULT length = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

void ListBox::BeginFill(int expected)
{
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    if (expected > 0)
        SendMessageW(hwnd_, LB_INITSTORAGE, static_cast<WPARAM>(expected), static_cast<LPARAM>(expected) * 64);
}

void ListBox::EndFill()
{
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::OnCommand(WORD code)
{
    if (code == LBN_SELCHANGE && onClick)
        onClick();
}

} // namespace qm
