#include "app/EntryCommands.h"

#include "app/BackupsView.h"
#include "app/FrmMain.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "registry/RegistryAccess.h"

namespace qm {

namespace {

bool BlankOrEmpty(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
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
    // An entry of that name is replaced, so its command line is saved first, as for a removal.
    const BackupResult backup = WriteBackup(Location(location), name, BackupFolders());
    if (backup.status == BackupStatus::NotSaved) {
        window.ShowMessage(name + L" was not replaced because its backup copy could not be saved.", kMbOkExclamation,
            L"Process Not Added");
        return;
    }
    // A value that cannot be written shows by its absence from the refreshed lists.
    static_cast<void>(SetStringValue(Location(location).fullPath, name, window.commandLineBox.Text()));
    window.ListLocation(window.CurrentLocation());
    if (backup.status == BackupStatus::Saved)
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
    const int index = window.nameList.SelectedIndex();
    const int location = window.CurrentLocation();
    // Nothing selected is never the unnamed default value.
    if (index < 0 || location == 0)
        return;
    const FrmMain::CommandScope command(window);
    const std::wstring name = window.nameList.Item(index);
    const StartupLocation& where = Location(location);

    // Anything but Yes, a message box that could not be shown included, keeps the entry.
    if (window.ShowMessage(L"Are you sure you want to delete the program/service '" + name + L"' from the Startup sequence ?",
            kMbYesNoQuestion, L"Confirm Delete") != IDYES)
        return;
    const BackupResult backup = WriteBackup(where, name, BackupFolders());
    if (backup.status == BackupStatus::ValueMissing) {
        window.ShowMessage(name + L" is no longer in this startup location.", kMbOkExclamation, L"Process Not Removed");
        window.ListLocation(window.CurrentLocation());
        return;
    }
    if (backup.status == BackupStatus::NotSaved) {
        window.ShowMessage(name + L" was not removed because its backup copy could not be saved.", kMbOkExclamation,
            L"Process Not Removed");
        return;
    }
    App().DoEvents();
    if (DeleteValue(RootKey(where), where.subKey, name))
        window.ShowMessage(name + L" has been removed and a backup copy has been saved.", kMbOkInformation, L"Process Removed");
    // The lists show the location selected now, which a click meanwhile may have changed.
    window.ListLocation(window.CurrentLocation());
    App().DoEvents();
    RefillBackupList(window);
}

} // namespace qm
