#pragma once

#include "backup/BackupRestore.h"
#include "controls/tintButton/TintButtonControl.h"
#include "host/Form.h"
#include "host/Handles.h"
#include "host/Label.h"
#include "host/ListBox.h"
#include "host/OptionButton.h"
#include "host/TextBox.h"
#include "launch/ProgramPath.h"
#include "launch/SignatureWorker.h"
#include "registry/StartupLocations.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// The main window: the entries of one startup location, the backups view, and every command.
class FrmMain final : public Form {
public:
    enum MenuCommand : UINT { kHelpContentsCommand = 1, kAboutCommand = 2 };

    FrmMain();
    // Creates the window hidden and runs the start-up sequence; Show() makes it visible.
    [[nodiscard]] bool Load();

    // What an item of the entry lists stands for: the key it came from, its value, and what
    // is known of it.
    struct ListedEntry {
        const StartupKey* key;
        std::wstring name;
        bool disabled; // by its StartupApproved value
        bool skipped;  // its whole list, by a policy
        std::optional<ProgramLookup> program; // once looked for
        std::optional<FileSignature> signature; // once its found program is checked
    };

    // Fills both entry lists from a location (1 to 4): its own key's values, then those of
    // the other keys it lists, in the location's order.
    void ListLocation(int location);
    const std::vector<ListedEntry>& Entries() const { return entries_; }
    // The entry the lists' selection stands for, or nullptr.
    const ListedEntry* SelectedEntry() const;
    // Selects the listed entry of that key and name; false when it is not listed.
    bool SelectEntry(const StartupKey& key, const std::wstring& name);
    // The programs of the listed entries are looked for a few at a time on a timer, after the
    // lists are shown, so that input is never held up; a new listing starts over.
    bool ProgramChecksPending() const { return nextProgramCheck_ < entries_.size(); }
    // Each program found is then handed to the signature worker, whose results come back as
    // messages; a selected entry's program is looked for and checked next.
    // The location whose option button is selected.
    int CurrentLocation() const;
    std::wstring SelectedEntryName() const;
    HMENU HelpMenu() const { return helpMenu_.get(); }
    void ShowHelpMenu();

    // A command that waits, on the user's answer or on another program, runs inside one: a
    // close request that arrives meanwhile is carried out once the last one has ended.
    class CommandScope {
    public:
        explicit CommandScope(FrmMain& window) : window_(window) { ++window_.runningCommands_; }
        ~CommandScope() { window_.CommandEnded(); }
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;

    private:
        FrmMain& window_;
    };
    // The close box, "Cl&ose" and a close request from outside all end the program here.
    void RequestClose();

    // The option button and the location button of a location (1 to 4).
    OptionButton& LocationOption(int location) { return locationOptions[static_cast<size_t>(location - 1)]; }
    TintButtonControl& LocationButton(int location) { return locationButtons[static_cast<size_t>(location - 1)]; }

    // The controls; tests reach them here too. The names the window's stored layout and the
    // outside world know them by are given at construction.
    TextBox backupNameBox; // hidden: the backup base name of the selected entry
    ListBox commandLineList;
    TintButtonControl closeButton;
    TintButtonControl helpButton;
    TintButtonControl backupsButton;
    TintButtonControl deleteButton;
    TintButtonControl browseButton;
    TintButtonControl addButton;
    TintButtonControl autoexecButton;
    TintButtonControl startupFolderButton;
    TintButtonControl winIniButton;
    TintButtonControl controlIniButton;
    // Hidden: the selected one is the current location.
    std::array<OptionButton, kLocationCount> locationOptions;
    TextBox commandLineBox;
    TextBox nameBox;
    ListBox nameList;
    std::array<TintButtonControl, kLocationCount> locationButtons;
    ListBox backupList;
    TintButtonControl finishedButton;
    TintButtonControl restoreButton;
    Label titleLabel;
    Label commandLineLabel;
    Label nameLabel;
    // The backup files as last read, one for each item of backupList, index by index; read at
    // start and refilled after a removal or restore, not when the view is shown.
    std::vector<BackupFile> backups;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMenuCommand(UINT id) override;
    void OnClose() override;
    void OnLaterControlsCreated() override;
    void WireHandlers();

    void OnNameClick();
    void OnCommandLineClick();
    void OnLocationSelected(int location);
    void OnLocationButton(int location);
    void ShowBackupsView();
    void ShowEntriesView();
    void OpenHelp();
    void CommandEnded();
    void CheckSomePrograms();
    void ShowProgramCheck(size_t index);
    void CheckSelectedFirst(size_t index);
    void ShowSignature(WPARAM round, LPARAM index);

    std::vector<ListedEntry> entries_;
    size_t nextProgramCheck_ = 0;
    std::unique_ptr<SignatureWorker> signatureWorker_;
    int runningCommands_ = 0;
    bool closeRequested_ = false;
    UniqueMenu helpMenu_;
};

} // namespace qm
