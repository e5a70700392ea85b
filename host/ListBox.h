#pragma once

#include "host/Control.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct ListItemStyle {
    COLORREF color = CLR_INVALID;  // the system's window-text colour when not set
    const wchar_t* note = nullptr; // drawn after the text in the grey-text colour
};

// A list of text items, each drawn in a colour of its own with an optional grey note after
// it; it keeps its text (screen readers read every item) and scrolls sideways as far as its
// widest item reaches, in its own font at the current DPI.
class ListBox final : public Control {
public:
    using Control::Control;

    void Add(const std::wstring& text, ListItemStyle style = {});
    void Clear();
    int Count() const;
    int SelectedIndex() const;
    // Selecting runs the click handler when the selection changes, as a click of the user does.
    void SetSelectedIndex(int index);
    std::wstring Item(int index) const;
    std::wstring SelectedText() const { return Item(SelectedIndex()); }
    ListItemStyle Style(int index) const;
    // Redraws one item in a new style.
    void SetStyle(int index, ListItemStyle style);
    // Filling many items repaints once at the end instead of once per item. Filling
    // replaces the items there were.
    void BeginFill(int expected);
    void EndFill();

    // The width in pixels the horizontal scroll range is kept at.
    int ScrollWidth() const;
    // The index of the item under a point of the list's client area, or -1.
    int ItemAt(POINT client) const;
    // Whether an item, with its note, is wider than the list shows.
    bool ItemCut(int index) const;

    std::function<void()> onClick;
    // What the tooltip says of the item under the pointer, after the item's whole text when
    // the list cuts it; over no item the list's own tooltip shows. None when empty.
    std::function<std::wstring(int index)> itemTooltip;
    // A key pressed in the list; true when the holder acted on it, so that the list does not.
    std::function<bool(UINT virtualKey)> onKeyDown;
    // A context menu for an item (already selected), to be shown at a screen point.
    std::function<void(int index, POINT screen)> onContextMenu;

protected:
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;
    void OnFontChanged() override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnMeasureItem(MEASUREITEMSTRUCT& item) override;
    bool OnContextMenu(POINT screen) override;
    bool HasChangingTooltip() const override { return true; }
    bool OnKeyToItem(UINT virtualKey) override;
    std::wstring TooltipText() const override;
    bool TooltipChangesAt(POINT client) override;

private:
    // Advance widths of the first 256 characters in the list's font, and the widest advance:
    // most texts are measured without a device context, and short ones not at all.
    struct Widths {
        std::array<int, 256> ofChar{};
        int widest = 0;
        int average = 0;
        int height = 0;
    };
    void MeasureFont();
    int TextWidth(std::wstring_view text) const;
    int ItemWidth(const std::wstring& text, const wchar_t* note) const;
    void Widen(const std::wstring& text, const wchar_t* note);
    void ApplyScrollWidth();

    Widths widths_;
    std::vector<ListItemStyle> styles_;
    int widestItem_ = 0;
    int tooltipItem_ = -1;
    bool filling_ = false;
};

} // namespace qm
