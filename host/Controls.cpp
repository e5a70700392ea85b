#include "host/Controls.h"

#include "host/Application.h"

#include <commctrl.h>

namespace qm {

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
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::Focus()
{
    SetFocus(hwnd_);
}

std::wstring Control::Caption() const
{
    if (!hwnd_)
        return initialCaption_;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::SetCaption(const std::wstring& caption)
{
    if (!hwnd_)
        initialCaption_ = caption;
    else
        SetWindowTextW(hwnd_, caption.c_str());
}

HWND Control::Create(HWND parent, int id)
{
    const auto kind = Kind();
    return CreateWindowExW(kind.exStyle, kind.className, initialCaption_.c_str(),
        kind.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App().Module(), nullptr);
}

bool Control::TakesFocus() const
{
    return Visible() && Enabled();
}

// ---- ListBox

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

// ---- TextBox

Control::WindowKind TextBox::Kind() const
{
    return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}

void TextBox::OnCommand(WORD code)
{
    if (code == EN_CHANGE && onChange)
        onChange();
}

// ---- OptionButton

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

// ---- Label

Control::WindowKind Label::Kind() const
{
    return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
}

// ---- Frame

Control::WindowKind Frame::Kind() const
{
    return {WC_STATICW, SS_ETCHEDFRAME, 0};
}

// ---- Image

Image::Image(std::wstring name, TwipsRect rect, int iconId) : Control(std::move(name), rect), iconId_(iconId) {}

Control::WindowKind Image::Kind() const
{
    // Without SS_REALSIZECONTROL the control would shrink to the icon and ignore its layout.
    return {WC_STATICW, SS_ICON | SS_REALSIZECONTROL, 0};
}

void Image::OnCreated()
{
    // A shared icon belongs to the system's cache: nobody destroys it.
    const HANDLE icon = LoadImageW(App().Module(), MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 0, 0,
        LR_DEFAULTSIZE | LR_SHARED);
    SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

// ---- PictureBox

Control::WindowKind PictureBox::Kind() const
{
    return {WC_STATICW, SS_OWNERDRAW, 0};
}

void PictureBox::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    if (onPaint)
        onPaint(item.hDC, item.rcItem);
}

} // namespace qm
