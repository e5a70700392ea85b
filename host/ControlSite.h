#pragma once

#include "host/PropertyStore.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// What a custom control asks of the window that holds it. The defaults are those of the
// running program: run mode, the windows' font, no one listening for changes.
class ControlSite {
public:
    virtual ~ControlSite() = default;

    // True while the holding window is being laid out in a designer.
    virtual bool DesignMode() const { return false; }
    // The holding window's font.
    virtual FontDesc AmbientFont() const { return {L"MS Sans Serif", 8.25, false, false, false}; }
    // The name the designer gives a newly placed control.
    virtual std::wstring DisplayName() const { return {}; }
    // Whether the holder shows the control as its default button.
    virtual bool DisplayAsDefault() const { return false; }
    // A persisted property changed, named by its key: the holder saves the control again.
    virtual void PropertyChanged(std::wstring_view /*key*/) {}
    // The DPI the holder lays the control out at; by default the window's own.
    virtual UINT Dpi(HWND control) const
    {
        const UINT dpi = control ? GetDpiForWindow(control) : 0;
        return dpi != 0 ? dpi : 96;
    }
    // Moves the focus from the control to the previous or next control of the holder's tab
    // order; by default the parent's tab stops, as a dialog orders them.
    virtual void MoveFocus(HWND from, bool backwards)
    {
        if (const HWND next = GetNextDlgTabItem(GetParent(from), from, backwards ? TRUE : FALSE))
            SetFocus(next);
    }
};

} // namespace qm
