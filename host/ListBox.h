#pragma once

#include "host/Control.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qm {

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

    std::function<void()> onClick;

protected:
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;
};

} // namespace qm
