#pragma once

#include "host/Control.h"
#include "host/Handles.h"
#include "host/PropertyStore.h"
#include "host/Twips.h"

#include <windows.h>

#include <array>
#include <vector>

namespace qm {

// The face colour the program's windows are painted in.
inline constexpr COLORREF kFaceColor = 0x00D8EAE6;

// A top-level window laid out in twips: owns its fonts, background, tooltips, the tab order
// and the access keys of its controls. Derived windows hold their controls as members.
class Form {
public:
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The window object behind a window of ours, or nullptr.
    static Form* FromHwnd(HWND hwnd);

    HWND Hwnd() const { return hwnd_; }
    UINT Dpi() const { return dpi_; }
    // Lays every control out again for a DPI; the platform's DPI change lands here.
    void ApplyDpi(UINT dpi);
    // Tab, Shift+Tab and Alt+letter for this window, and the pointer's moves for the tooltips;
    // true when the message was used.
    bool FilterMessage(MSG& msg);
    void Show();

    // Moves the focus to the previous or next control of the tab order that can take it.
    void MoveFocus(bool backwards);
    const std::vector<Control*>& TabOrder() const { return tabOrder_; }
    HFONT FontFor(FontKind kind) const { return fonts_[static_cast<size_t>(kind)].get(); }
    // Makes the controls that wait to be reached, at their places in stacking and tab order;
    // true when this call made them.
    bool CreateLaterControls();
    // A modal message box owned by this window (through the host services); the button pressed.
    int ShowMessage(const std::wstring& text, unsigned code, const std::wstring& title) const;
    // The face, size and weight of a kind of font, for controls that make their own.
    static FontDesc FontDescFor(FontKind kind);

protected:
    Form() = default;

    struct FormSetup {
        const wchar_t* className;
        std::wstring caption;
        DWORD style;
        DWORD exStyle;
        int clientWidthTwips;
        int clientHeightTwips;
        COLORREF background;
        int iconId; // 0: none
        HWND owner;
    };
    // Creates the window hidden with its controls, listed from the topmost down. The controls
    // of `later` (listed in stacking too) wait until something reaches them: code asking for
    // their window, Tab arriving at them, or their access key. Until then they are empty,
    // hidden and disabled.
    [[nodiscard]] bool CreateForm(const FormSetup& setup, std::vector<Control*> stacking, std::vector<Control*> tabOrder,
        const std::vector<Control*>& later = {});
    // The controls created later have just been made.
    virtual void OnLaterControlsCreated() {}

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnMenuCommand(UINT /*id*/) {}
    // The close box; the default destroys this window alone.
    virtual void OnClose() { DestroyWindow(hwnd_); }
    // Runs last, once the window and its controls are gone: a window object that owns itself
    // may delete itself here.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void CreateFonts();
    void CreateControl(size_t index);
    // The tooltips are made when the pointer first comes over the window, and hear of its moves
    // from the message loop: a window subclass costs a wineserver round trip per message.
    void RelayToTooltips(const MSG& msg);
    void AddTooltip(const Control& c) const;
    // Makes the controls created later if c is one of them and they are not made yet.
    void Reach(const Control& c);
    // The size of the window's frame around its client area at a DPI.
    SIZE FrameSize(UINT dpi) const;
    // The window's frame at a DPI, centred in the work area of its monitor (before the window
    // exists, of the primary one).
    RECT CentredFrame(UINT dpi) const;
    // Sized for the current DPI where it stands.
    void FitToDpi();
    // The window's icons drawn at the sizes of the current DPI, not stretched from 96 DPI ones.
    void ShowIconsForDpi();
    bool HandleAccessKey(wchar_t letter);
    // The focus a dialog keeps over its deactivation: the control that had it is remembered
    // when the window goes inactive and gets it back when the window is active again; without
    // it, activation leaves the focus on the window itself.
    void RememberFocus();
    void RestoreFocus();
    void FocusFirstTabStop();
    Control* FindById(int id) const;
    Control* FindByHwnd(HWND hwnd) const;

    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;
    UINT dpi_ = kBaseDpi;
    FormSetup setup_{};
    UniqueBrush background_;
    // Per control, in stacking order: the brush of a label with a colour of its own.
    std::vector<UniqueBrush> labelBrushes_;
    std::array<UniqueFont, 4> fonts_;
    UniqueIcon smallIcon_;
    UniqueIcon bigIcon_;
    std::vector<Control*> controls_;
    std::vector<Control*> tabOrder_;
    // The text of a tooltip that asks for it when it shows, kept while it shows.
    std::wstring tooltipText_;
    bool shownOnce_ = false;
    // The control that had the focus when the window last went inactive.
    HWND lastFocus_ = nullptr;
};

} // namespace qm
