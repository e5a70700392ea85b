#pragma once

#include "controls/tintButton/TintButtonControl.h"
#include "host/Controls.h"
#include "host/Form.h"

namespace qm {

// The About window: title, version, the maker's web pages and the system information tool.
class FrmAbout final : public Form {
public:
    FrmAbout();
    ~FrmAbout() override;

    // Creates the window hidden, owned by owner (so it stays out of the taskbar), and sets
    // the captions; Show() makes it visible.
    bool Load(HWND owner);

    // The controls, named as the window's code knows them; tests reach them here too.
    PictureBox picIcon;
    Image Image1;
    Label lblTitle;
    Label lblVersion;
    Label lblAbout;
    Label lblDescription;
    Frame Frame2;
    TintButtonControl Command1;
    TintButtonControl Command2;
    Label lblDisclaimer;
    Frame Frame1;
    TintButtonControl Command4;
    TintButtonControl Command3;
    TextBox txtAbout;

private:
    friend void ShowAboutWindow(HWND owner);

    void PaintPicture(HDC dc, const RECT& rect) const;
    void OnDestroyed() override;

    // Set for the window ShowAboutWindow opens, which lives exactly as long as its window.
    bool ownsItself_ = false;
};

// Opens the About window modeless, or brings it to the front when it is already open.
void ShowAboutWindow(HWND owner);
// The open About window, or nullptr.
FrmAbout* FindAboutWindow();

} // namespace qm
