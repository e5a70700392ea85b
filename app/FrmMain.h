#pragma once

#include "controls/tintButton/TintButtonControl.h"
#include "host/Controls.h"
#include "host/Form.h"

#include <string>

namespace qm {

// The backup file's name for an entry: blanks become underscores; the unnamed default
// value is "(Default)", as the registry editor calls it.
std::wstring BackupBaseName(const std::wstring& entryName);

// The main window: the entries of one startup location, the backups view, and every command.
class FrmMain final : public Form {
public:
    enum MenuId : UINT { kMnuContents = 1, kMnuAbout = 2 };

    FrmMain();
    // Creates the window hidden and runs the start-up sequence; Show() makes it visible.
    bool Load();

    // Fills both entry lists from a location (1 to 4).
    void ListLocation(int location);
    void ClearEntryLists();
    // The location whose option button is selected.
    int CurrentLocation() const;
    const std::wstring& SelectedEntryName() const { return selectedEntryName_; }
    HMENU FileMenu() const { return mnuFile_; }
    void ShowFileMenu();

    // The controls, named as the window's code knows them; tests reach them here too.
    TextBox txtDelete;
    ListBox lstCmdLine;
    TintButtonControl tintButton12;
    TintButtonControl Command1;
    TintButtonControl cmdBackup;
    TintButtonControl cmdDel;
    TintButtonControl cmdBrowse;
    TintButtonControl cmdAdd;
    TintButtonControl tintButton8;
    TintButtonControl tintButton7;
    TintButtonControl tintButton6;
    TintButtonControl tintButton5;
    OptionButton optRun;
    OptionButton optRunServices;
    OptionButton optRun2;
    OptionButton optRun3;
    TextBox txtCmdLine;
    TextBox txtName;
    ListBox lstName;
    TintButtonControl tintButton4;
    TintButtonControl tintButton3;
    TintButtonControl tintButton2;
    TintButtonControl tintButton1;
    ListBox lstBack;
    TintButtonControl tintButton9;
    TintButtonControl tintButton10;
    Label Label1;
    Label lblCmdLine;
    Label lblName;

    OptionButton& Option(int location);
    TintButtonControl& LocationButton(int location);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMenuCommand(UINT id) override;
    void OnClose() override;
    void WireHandlers();

    void OnNameClick();
    void OnCmdLineClick();
    void OnLocationSelected(int location);
    void OnLocationButton(int location);
    void ShowBackupsView();
    void ShowEntriesView();
    void OpenHelp();

    std::wstring selectedEntryName_;
    HMENU mnuFile_ = nullptr;
};

} // namespace qm
