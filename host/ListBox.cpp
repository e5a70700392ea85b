#include "host/ListBox.h"

#include "host/Handles.h"

#include <commctrl.h>

namespace qm {

namespace {

// Room beside the widest text, in average characters: the item's own margins and a little air.
constexpr int kMarginChars = 1;
// Text starts this far into an item, as in the system's own lists.
constexpr int kTextIndent = 2;

} // namespace

Control::WindowKind ListBox::Kind() const
{
    // Owner-drawn for the items' colours; LBS_HASSTRINGS keeps the text that screen readers
    // and LB_GETTEXT read; LBS_WANTKEYBOARDINPUT hands each key to the window first.
    return {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                             LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_WANTKEYBOARDINPUT,
        0};
}

bool ListBox::TooltipChangesAt(POINT client)
{
    const int item = ItemAt(client);
    if (item == tooltipItem_)
        return false;
    tooltipItem_ = item;
    return true;
}

void ListBox::Add(const std::wstring& text, ListItemStyle style)
{
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    styles_.push_back(style);
    Widen(text, style.note);
}

void ListBox::Clear()
{
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    styles_.clear();
    widestItem_ = 0;
    // While filling, the range is set once at the end: setting it here too would hide the
    // scroll bar and show it again, a frame change and a repaint each.
    if (!filling_)
        ApplyScrollWidth();
}

ListItemStyle ListBox::Style(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < styles_.size() ? styles_[static_cast<size_t>(index)] : ListItemStyle{};
}

void ListBox::SetStyle(int index, ListItemStyle style)
{
    if (index < 0 || static_cast<size_t>(index) >= styles_.size())
        return;
    styles_[static_cast<size_t>(index)] = style;
    Widen(Item(index), style.note);
    RECT rect{};
    if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(hwnd_, &rect, TRUE);
}

int ListBox::ItemAt(POINT client) const
{
    const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    // The high word says the point lies outside every item.
    return HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
}

std::wstring ListBox::TooltipText() const
{
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(hwnd_, &pointer);
    const int item = ItemAt(pointer);
    if (item < 0)
        return Tooltip();
    std::wstring tip = ItemCut(item) ? Item(item) : std::wstring();
    const std::wstring more = itemTooltip ? itemTooltip(item) : std::wstring();
    if (!more.empty())
        tip += (tip.empty() ? L"" : L"\r\n") + more;
    return tip;
}

bool ListBox::OnKeyToItem(UINT virtualKey)
{
    return onKeyDown && onKeyDown(virtualKey);
}

bool ListBox::ItemCut(int index) const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    return kTextIndent + ItemWidth(Item(index), Style(index).note) > client.right;
}

bool ListBox::OnContextMenu(POINT screen)
{
    if (!onContextMenu)
        return false;
    int item = SelectedIndex();
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the selected item.
        RECT rect{};
        if (item < 0 || SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
            return false;
        screen = {rect.left + kTextIndent, rect.bottom};
        ClientToScreen(hwnd_, &screen);
    } else {
        // A right click selects what it points at first, as in the shell's lists.
        POINT client = screen;
        ScreenToClient(hwnd_, &client);
        item = ItemAt(client);
        if (item < 0)
            return false;
        SetSelectedIndex(item);
    }
    onContextMenu(item, screen);
    return true;
}

void ListBox::OnMeasureItem(MEASUREITEMSTRUCT& item)
{
    // Replaced by the font's own height as soon as the list has a font.
    item.itemHeight = 13;
}

void ListBox::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(dc, &item.rcItem);
        return;
    }
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(dc, &item.rcItem);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const ListItemStyle style = Style(static_cast<int>(item.itemID));
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF color = style.color != CLR_INVALID ? style.color : GetSysColor(COLOR_WINDOWTEXT);
    if (selected)
        color = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF oldColor = SetTextColor(dc, color);
    const std::wstring text = Item(static_cast<int>(item.itemID));
    RECT rect = item.rcItem;
    rect.left += kTextIndent;
    constexpr UINT kFormat = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_LEFT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kFormat);
    if (style.note) {
        RECT measured = rect;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, kFormat | DT_CALCRECT);
        rect.left = measured.right + widths_.average;
        SetTextColor(dc, selected ? color : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, style.note, -1, &rect, kFormat);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
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
    widths_.height = metrics.tmHeight;
}

int ListBox::TextWidth(std::wstring_view text) const
{
    int width = 0;
    for (wchar_t c : text) {
        if (c > 255) {
            // Other scripts: let the font (and its fallbacks) measure the whole text.
            WindowDC dc(hwnd_);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
            const SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
            return size.cx;
        }
        width += widths_.ofChar[static_cast<size_t>(c)];
    }
    return width;
}

void ListBox::Widen(const std::wstring& text, const wchar_t* note)
{
    if (widths_.widest == 0)
        MeasureFont();
    const std::wstring_view noteText = note ? note : L"";
    const int noteRoom = note ? widths_.average : 0;
    // No text can be wider than its length in the font's widest character.
    if (static_cast<long long>(text.size() + noteText.size()) * widths_.widest + noteRoom <= widestItem_)
        return;
    const int width = ItemWidth(text, note);
    if (width <= widestItem_)
        return;
    widestItem_ = width;
    if (!filling_)
        ApplyScrollWidth();
}

// The text and, after a gap of one average character, its note.
int ListBox::ItemWidth(const std::wstring& text, const wchar_t* note) const
{
    return TextWidth(text) + (note ? widths_.average + TextWidth(note) : 0);
}

void ListBox::ApplyScrollWidth()
{
    const int extent = widestItem_ > 0 ? kTextIndent + widestItem_ + kMarginChars * widths_.average : 0;
    SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

void ListBox::OnFontChanged()
{
    MeasureFont();
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(widths_.height, 0));
    widestItem_ = 0;
    const int count = Count();
    for (int i = 0; i < count; ++i)
        Widen(Item(i), Style(i).note);
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
    if (index < 0 || !hwnd_)
        return {};
    const LRESULT length = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

void ListBox::BeginFill(int expected)
{
    filling_ = true;
    // Emptied with redraw off: emptying a shown list repaints it and its scroll bars. Emptied
    // before the storage is reserved, which emptying would give back.
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    Clear();
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
