#pragma once

#include "host/Layout.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qm {

class Form;

enum class FontKind { Normal, Bold, Title, Heading };

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

    HWND Hwnd() const { return hwnd_; }
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
    // Makes the control's window in its parent; by default a window of Kind() with the caption.
    virtual HWND Create(HWND parent, int id);
    virtual void OnCommand(WORD /*code*/) {}
    virtual void OnCreated() {}
    virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}

    HWND hwnd_ = nullptr;

private:
    std::wstring name_;
    TwipsRect rect_;
    std::wstring initialCaption_;
    std::wstring tooltip_;
    FontKind font_ = FontKind::Normal;
};

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

class TextBox final : public Control {
public:
    using Control::Control;

    std::wstring Text() const { return Caption(); }
    // Setting the text runs the change handler, as typing does.
    void SetText(const std::wstring& text) { SetCaption(text); }

    std::function<void()> onChange;

protected:
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;
};

// Option buttons of one window form one group: selecting one deselects the others.
class OptionButton final : public Control {
public:
    using Control::Control;

    bool Value() const;
    // Selects this option; runs the click handler when it was not selected before.
    void Select();
    bool TakesFocus() const override;

    std::function<void()> onClick;

protected:
    friend class Form;
    WindowKind Kind() const override;
    void OnCommand(WORD code) override;

private:
    void SetChecked(bool checked);
};

class Label final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }
    COLORREF background = CLR_INVALID; // the window's colour when not set
    COLORREF textColor = CLR_INVALID;  // the system's window-text colour when not set

protected:
    WindowKind Kind() const override;
};

// An etched rectangle that groups the controls laid over it; it has no caption.
class Frame final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }

protected:
    WindowKind Kind() const override;
};

// An icon resource stretched to the control's rectangle.
class Image final : public Control {
public:
    Image(std::wstring name, TwipsRect rect, int iconId);
    bool TakesFocus() const override { return false; }

protected:
    WindowKind Kind() const override;
    void OnCreated() override;

private:
    int iconId_;
};

// A picture the window draws itself, at whatever size the control has at the current DPI.
class PictureBox final : public Control {
public:
    using Control::Control;
    bool TakesFocus() const override { return false; }

    std::function<void(HDC dc, const RECT& rect)> onPaint;

protected:
    WindowKind Kind() const override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
};


} // namespace qm
