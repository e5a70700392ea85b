#include "app/EntryCommands.h"

#include "app/BackupsView.h"
#include "app/FrmMain.h"
#include "backup/BackupWriter.h"
#include "backup/EntryOperations.h"
#include "host/Application.h"

namespace qm {

namespace {

bool BlankOrEmpty(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

// The rest of the sentence that tells why an entry stayed; nullptr where the lists say it
// (a key that refused the change).
const wchar_t* NotRemovedBecause(Why why)
{
    switch (why) {
    case Why::NoSuchEntry: return L" is no longer in this startup location.";
    case Why::BackupNotSaved: return L" was not removed because its backup copy could not be saved.";
    case Why::ChangedMeanwhile: return L" was not removed because it changed while its backup copy was being saved.";
    default: return nullptr;
    }
}

} // namespace

void UpdateAddButton(FrmMain& window)
{
    window.addButton.SetEnabled(!window.nameBox.Text().empty() && !window.commandLineBox.Text().empty());
}

void AddEntry(FrmMain& window)
{
    if (BlankOrEmpty(window.nameBox.Text())) {
        window.ShowMessage(L"Enter Name", kMbOkInformation, L"No Name");
        window.nameBox.Focus();
        return;
    }
    if (BlankOrEmpty(window.commandLineBox.Text())) {
        window.ShowMessage(L"Enter Command Line", kMbOkInformation, L"No CmdLine");
        window.commandLineBox.Focus();
        return;
    }
    const int location = window.CurrentLocation();
    if (location == 0)
        return;
    const FrmMain::CommandScope command(window);
    const std::wstring name = window.nameBox.Text();
    // Added to the location's native key, where the window's own additions always go. An
    // entry of that name is saved first, as for a removal. A value that cannot be written
    // shows by its absence from the refreshed lists.
    const ChangeResult added = AddStartupEntry(Location(location).Native(), name, window.commandLineBox.Text(), BackupFolders());
    if (added.why == Why::NameRefused) {
        window.ShowMessage(L"A program name cannot hold a line break.", kMbOkExclamation, L"Process Not Added");
        window.nameBox.Focus();
        return;
    }
    if (added.why == Why::BackupNotSaved) {
        window.ShowMessage(name + L" was not replaced because its backup copy could not be saved.", kMbOkExclamation,
            L"Process Not Added");
        return;
    }
    if (added.why == Why::StateNotCleared)
        window.ShowMessage(name + L" has been added. Its startup setting could not be cleared, so Windows keeps it disabled.",
            kMbOkExclamation, L"Process Added");
    window.ListLocation(window.CurrentLocation());
    if (!added.backupPath.empty())
        RefillBackupList(window);
}

void BrowseForCommandLine(FrmMain& window)
{
    const auto chosen = App().Services().OpenFileDialog(window.Hwnd(), L"Browse For File To Add to Startup");
    if (!chosen || chosen->empty())
        return;
    // Unquoted, "C:\Program Files\x.exe" would start C:\Program.exe if one existed.
    window.commandLineBox.SetText(chosen->find(L' ') == std::wstring::npos ? *chosen : L"\"" + *chosen + L"\"");
}

void RemoveSelectedEntry(FrmMain& window)
{
    // Nothing selected is never the unnamed default value.
    const FrmMain::ListedEntry* selected = window.SelectedEntry();
    if (!selected)
        return;
    const FrmMain::CommandScope command(window);
    // Copied: listing again (a location click while a box is up) replaces the entries.
    const StartupKey& key = *selected->key;
    const std::wstring name = selected->name;

    // Anything but Yes, a message box that could not be shown included, keeps the entry.
    if (window.ShowMessage(L"Are you sure you want to delete the program/service '" + name + L"' from the Startup sequence ?",
            kMbYesNoQuestion, L"Confirm Delete") != IDYES)
        return;
    RemoveOptions options;
    if (NameHasNoBackupSpelling(name)) {
        if (window.ShowMessage(name + L" cannot be saved to a backup copy. Remove it without a backup?",
                kMbYesNoExclamationNoDefault, L"Confirm Delete") != IDYES)
            return;
        options.withoutBackupWhenNoneCanHoldIt = true;
    }
    options.afterBackup = [] { App().DoEvents(); };
    const ChangeResult removed = RemoveStartupEntry(key, name, BackupFolders(), options);
    if (const wchar_t* why = NotRemovedBecause(removed.why); removed.outcome == Outcome::NotDone && why) {
        window.ShowMessage(name + why, kMbOkExclamation, L"Process Not Removed");
        if (removed.why != Why::BackupNotSaved)
            window.ListLocation(window.CurrentLocation());
        return;
    }
    if (removed.outcome != Outcome::NotDone) {
        std::wstring text = name + (removed.backupPath.empty() ? L" has been removed without a backup copy."
                                                               : L" has been removed and a backup copy has been saved.");
        if (removed.outcome == Outcome::DoneInPart)
            text += L" Its startup setting could not be cleared.";
        window.ShowMessage(text, removed.outcome == Outcome::Done ? kMbOkInformation : kMbOkExclamation, L"Process Removed");
    }
    // The lists show the location selected now, which a click meanwhile may have changed.
    window.ListLocation(window.CurrentLocation());
    App().DoEvents();
    RefillBackupList(window);
}

} // namespace qm
