#include "host/ListBox.h"

#include "host/Handles.h"

#include <commctrl.h>

namespace qm {

namespace {

// Room beside the widest text, in average characters: the item's own margins and a little air.
constexpr int kMarginChars = 1;

} // namespace

Control::WindowKind ListBox::Kind() const
{
    return {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0};
}

void ListBox::Add(const std::wstring& text)
{
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Widen(text);
}

void ListBox::Clear()
{
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    widestItem_ = 0;
    ApplyScrollWidth();
}

int ListBox::ScrollWidth() const
{
    return static_cast<int>(SendMessageW(hwnd_, LB_GETHORIZONTALEXTENT, 0, 0));
}

void ListBox::MeasureFont()
{
    widths_ = {};
    WindowDC dc(hwnd_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    const SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    GetCharWidth32W(dc.get(), 0, 255, widths_.ofChar.data());
    widths_.widest = metrics.tmMaxCharWidth;
    widths_.average = metrics.tmAveCharWidth;
}

int ListBox::TextWidth(const std::wstring& text) const
{
    int width = 0;
    for (wchar_t c : text) {
        if (c > 255) {
            // Other scripts: let the font (and its fallbacks) measure the whole text.
            WindowDC dc(hwnd_);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
            const SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            return size.cx;
        }
        width += widths_.ofChar[static_cast<size_t>(c)];
    }
    return width;
}

void ListBox::Widen(const std::wstring& text)
{
    if (widths_.widest == 0)
        MeasureFont();
    // No text can be wider than its length in the font's widest character.
    if (static_cast<long long>(text.size()) * widths_.widest <= widestItem_)
        return;
    const int width = TextWidth(text);
    if (width <= widestItem_)
        return;
    widestItem_ = width;
    if (!filling_)
        ApplyScrollWidth();
}

void ListBox::ApplyScrollWidth()
{
    const int extent = widestItem_ > 0 ? widestItem_ + kMarginChars * widths_.average : 0;
    SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

void ListBox::OnFontChanged()
{
    MeasureFont();
    widestItem_ = 0;
    const int count = Count();
    for (int i = 0; i < count; ++i)
        Widen(Item(i));
    ApplyScrollWidth();
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
    filling_ = true;
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    if (expected > 0)
        SendMessageW(hwnd_, LB_INITSTORAGE, static_cast<WPARAM>(expected), static_cast<LPARAM>(expected) * 64);
}

void ListBox::EndFill()
{
    filling_ = false;
    ApplyScrollWidth();
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::OnCommand(WORD code)
{
    if (code == LBN_SELCHANGE && onClick)
        onClick();
}

} // namespace qm
