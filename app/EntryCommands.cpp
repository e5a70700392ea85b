#include "app/EntryCommands.h"

#include "app/FrmMain.h"
#include "app/StartupLocations.h"
#include "backup/BackupWriter.h"
#include "backup/BackupsView.h"
#include "host/Application.h"
#include "registry/General2.h"

namespace qm {

namespace {

bool BlankOrEmpty(const std::wstring& text)
{
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

int Ask(FrmMain& window, const std::wstring& text, unsigned code, const std::wstring& title)
{
    return App().Services().ShowMessage(window.Hwnd(), text, code, title);
}

} // namespace

void UpdateAddButton(FrmMain& window)
{
    window.cmdAdd.SetEnabled(!window.txtName.Text().empty() && !window.txtCmdLine.Text().empty());
}

void AddEntry(FrmMain& window)
{
    if (BlankOrEmpty(window.txtName.Text())) {
        Ask(window, L"Enter Name", kMbOkInformation, L"No Name");
        window.txtName.Focus();
        return;
    }
    if (BlankOrEmpty(window.txtCmdLine.Text())) {
        Ask(window, L"Enter Command Line", kMbOkInformation, L"No CmdLine");
        window.txtCmdLine.Focus();
        return;
    }
    if (const int location = window.CurrentLocation()) {
        SetStringValue(Location(location).fullPath, window.txtName.Text(), window.txtCmdLine.Text());
        window.ListLocation(location);
    }
}

void BrowseForCommandLine(FrmMain& window)
{
    const auto chosen = App().Services().OpenFileDialog(window.Hwnd(), L"Browse For File To Add to Startup");
    if (!chosen || chosen->empty())
        return;
    // Unquoted, "C:\Program Files\x.exe" would start C:\Program.exe if one existed.
    window.txtCmdLine.SetText(chosen->find(L' ') == std::wstring::npos ? *chosen : L"\"" + *chosen + L"\"");
}

void RemoveSelectedEntry(FrmMain& window)
{
    const int index = window.lstName.SelectedIndex();
    const int location = window.CurrentLocation();
    // Nothing selected is never the unnamed default value.
    if (index < 0 || location == 0)
        return;
    const std::wstring name = window.lstName.Item(index);
    const StartupLocation& where = Location(location);

    if (Ask(window, L"Are you sure you want to delete the program/service '" + name + L"' from the Startup sequence ?",
            kMbYesNoQuestion, L"Confirm Delete") == kMbResultNo)
        return;
    if (!WriteBackupFile(where, name, window.txtDelete.Text(), App().Folder())) {
        Ask(window, name + L" was not removed because its backup copy could not be saved.", kMbOkExclamation,
            L"Process Not Removed");
        return;
    }
    App().DoEvents();
    if (DeleteValue(where.Root(), where.removeKey, name))
        Ask(window, name + L" has been removed and a backup copy has been saved.", kMbOkInformation, L"Process Removed");
    window.ListLocation(location);
    App().DoEvents();
    RefillBackupList(window);
}

} // namespace qm
