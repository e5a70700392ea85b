#pragma once

#include "controls/tintButton/TintButtonControl.h"
#include "host/Form.h"
#include "host/Frame.h"
#include "host/Image.h"
#include "host/Label.h"
#include "host/PictureBox.h"
#include "host/TextBox.h"

namespace qm {

// The About window: title, version, the maker's web pages and the system information tool.
class FrmAbout final : public Form {
public:
    FrmAbout();
    ~FrmAbout() override;

    // Creates the window hidden, owned by owner (so it stays out of the taskbar), and sets
    // the captions; Show() makes it visible.
    [[nodiscard]] bool Load(HWND owner);

    // The controls; tests reach them here too. The names the window's stored layout knows them
    // by are given at construction.
    PictureBox picture;
    Image icon;
    Label titleLabel;
    Label versionLabel;
    Label aboutLabel;
    Label descriptionLabel;
    Frame descriptionFrame;
    TintButtonControl mailingListButton;
    TintButtonControl homePageButton;
    Label disclaimerLabel;
    Frame disclaimerFrame;
    TintButtonControl systemInfoButton;
    TintButtonControl closeButton;
    TextBox hiddenTextBox;

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
