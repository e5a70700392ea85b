#pragma once

#include "host/Controls.h"
#include "host/Layout.h"
#include "host/PropertyStore.h"

#include <windows.h>

#include <array>
#include <vector>

namespace qm {

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
    // Tab, Shift+Tab and Alt+letter for this window; true when the message was used.
    bool FilterMessage(MSG& msg);
    void Show();

    // Moves the focus to the previous or next control of the tab order that can take it.
    void MoveFocus(bool backwards);
    const std::vector<Control*>& TabOrder() const { return tabOrder_; }
    HWND Tooltips() const { return tooltips_; }
    HFONT FontFor(FontKind kind) const { return fonts_[static_cast<size_t>(kind)]; }
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
    // Creates the window hidden with its controls, listed from the topmost down.
    bool CreateForm(const FormSetup& setup, std::vector<Control*> stacking, std::vector<Control*> tabOrder);

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
    void DeleteFonts();
    void PlaceWindow(bool centre);
    bool HandleAccessKey(wchar_t letter);
    Control* FindById(int id) const;
    Control* FindByHwnd(HWND hwnd) const;

    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;
    UINT dpi_ = kBaseDpi;
    FormSetup setup_{};
    HBRUSH background_ = nullptr;
    std::vector<HBRUSH> labelBrushes_;
    std::array<HFONT, 4> fonts_{};
    std::vector<Control*> controls_;
    std::vector<Control*> tabOrder_;
    bool shownOnce_ = false;
};

} // namespace qm
