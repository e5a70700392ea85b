#pragma once

#include "host/Control.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>

namespace qm {

// Scrolls sideways as far as its widest item reaches, in its own font at the current DPI.
class ListBox final : public Control {
public:
    using Control::Control;

    void Add(const std::wstring& text);
    void Clear();
    int Count() const;
    int SelectedIndex() const;
    // Selecting runs the click handler when the selection changes, as a click of the user does.
    void SetSelectedIndex(int index);
    std::wstring Item(int index) const;
    std::wstring SelectedText() const { return Item(SelectedIndex()); }
    // Filling many items repaints once at the end instead of once per item.
    void BeginFill(int expected);
    void EndFill();

    // The width in pixels the horizontal scroll range is kept at.
    int ScrollWidth() const;

    std::function<void()> onClick;

protected:
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;
    void OnFontChanged() override;

private:
    // Advance widths of the first 256 characters in the list's font, and the widest advance:
    // most texts are measured without a device context, and short ones not at all.
    struct Widths {
        std::array<int, 256> ofChar{};
        int widest = 0;
        int average = 0;
    };
    void MeasureFont();
    int TextWidth(const std::wstring& text) const;
    void Widen(const std::wstring& text);
    void ApplyScrollWidth();

    Widths widths_;
    int widestItem_ = 0;
    bool filling_ = false;
};

} // namespace qm
