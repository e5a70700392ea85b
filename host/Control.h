#pragma once

#include "host/Twips.h"

#include <windows.h>

#include <string>

namespace qm {

class Form;

enum class FontKind { Normal, Bold, Title, Heading };

// The whole text of any window.
std::wstring WindowText(HWND hwnd);

// The letter a caption marks with "&" (upper case), or 0; "&&" shows an ampersand and marks nothing.
wchar_t AccessKeyOf(const std::wstring& caption);

// A standard control of a window, placed in twips. Thin on purpose: the platform's own
// controls are what screen readers and UI automation understand.
class Control {
public:
    Control(std::wstring name, TwipsRect rect, std::wstring caption = {});
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control's window; a control the form makes later is made by the first call here.
    HWND Hwnd() const;
    const std::wstring& Name() const { return name_; }
    const TwipsRect& Rect() const { return rect_; }

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);
    void Focus();

    std::wstring Caption() const;
    virtual void SetCaption(const std::wstring& caption);

    const std::wstring& Tooltip() const { return tooltip_; }
    void SetTooltip(std::wstring tooltip) { tooltip_ = std::move(tooltip); }
    // Whether the tooltip depends on where the pointer is, so that the window asks
    // TooltipText each time it shows.
    virtual bool HasChangingTooltip() const { return false; }
    virtual std::wstring TooltipText() const { return tooltip_; }
    // The pointer moved over the control; true when the tooltip's text is no longer the one
    // shown, so that the shown tip goes.
    virtual bool TooltipChangesAt(POINT /*client*/) { return false; }
    FontKind Font() const { return font_; }
    void SetFont(FontKind font) { font_ = font; }

    // Whether Tab may stop here now (hidden and disabled controls never take the focus).
    virtual bool TakesFocus() const;
    // The letter Alt selects the control by (upper case), or 0; by default the caption's.
    virtual wchar_t AccessKey() const { return AccessKeyOf(Caption()); }
    // What the control's access key does: buttons click, the others take the focus.
    virtual void OnAccessKey() { Focus(); }

protected:
    friend class Form;
    struct WindowKind {
        const wchar_t* className;
        DWORD style;
        DWORD exStyle;
    };
    virtual WindowKind Kind() const = 0;
    // Makes the control's window in its parent at its place in pixels; by default a window of
    // Kind() with the caption.
    virtual HWND Create(HWND parent, int id, const RECT& bounds);
    virtual void OnCommand(WORD /*code*/) {}
    virtual void OnCreated() {}
    // The window gave the control a new font (a DPI change among other things).
    virtual void OnFontChanged() {}
    // The window was shown for the first time: what the control needs of its parent's
    // painted face is there now.
    virtual void OnWindowShown() {}
    virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
    virtual void OnMeasureItem(MEASUREITEMSTRUCT& /*item*/) {}
    // A context menu was asked for over the control, at a screen point, or (-1, -1) from the
    // keyboard; true when the control showed one.
    virtual bool OnContextMenu(POINT /*screen*/) { return false; }
    // A key pressed in a list that hands its keys to the window first; true when acted on.
    virtual bool OnKeyToItem(UINT /*virtualKey*/) { return false; }

    // Before a control that holds the keyboard focus is disabled, the focus moves on to the
    // next control of the window's tab order, as the system's own buttons pass it on.
    void PassFocusOn();

    HWND hwnd_ = nullptr;

private:
    // The form that makes this control when it is first reached; null once made.
    Form* madeLaterBy_ = nullptr;
    std::wstring name_;
    TwipsRect rect_;
    std::wstring initialCaption_;
    std::wstring tooltip_;
    FontKind font_ = FontKind::Normal;
};

} // namespace qm
