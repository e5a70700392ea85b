#include "app/FrmMain.h"

#include "app/EntryCommands.h"
#include "app/StartupLocations.h"
#include "backup/BackupsView.h"
#include "host/Application.h"
#include "launch/FrmAbout.h"
#include "launch/Launchers.h"
#include "registry/General2.h"
#include "host/StoredLayout.h"
#include "resources/resource.h"

#include <algorithm>

namespace qm {

namespace {

constexpr COLORREF kFaceColor = 0x00D8EAE6;
constexpr COLORREF kBannerColor = 0x00FFC0C0;
constexpr int kClientWidthTwips = 8235;
constexpr int kClientHeightTwips = 6000;
// Long command lines scroll sideways this far.
constexpr int kEntryListScrollWidth = 600;

constexpr TwipsRect kLocationButtonRects[kLocationCount] = {
    {180, 840, 1845, 375}, {2205, 840, 1845, 375}, {4230, 840, 1845, 375}, {6240, 840, 1845, 375}};
constexpr int kOptionLefts[kLocationCount] = {120, 1920, 4200, 6240};

TwipsRect OptionRect(int location)
{
    return {kOptionLefts[location - 1], 8160, 1815, 255};
}

} // namespace

std::wstring BackupBaseName(const std::wstring& entryName)
{
    // ".reg" alone would be a nameless file, and one that Wine hides from the backup list.
    if (entryName.empty())
        return L"(Default)";
    std::wstring baseName = entryName;
    std::replace(baseName.begin(), baseName.end(), L' ', L'_');
    return baseName;
}

FrmMain::FrmMain()
    : txtDelete(L"txtDelete", {240, 6480, 3375, 285}),
      lstCmdLine(L"lstCmdLine", {3120, 1320, 5055, 2595}),
      tintButton12(L"tintButton12", {6270, 5520, 1845, 375}, L"Cl&ose"),
      Command1(L"Command1", {4245, 5520, 1845, 375}, L"&Help/About"),
      cmdBackup(L"cmdBackup", {2205, 5520, 1845, 375}, L"&Backups"),
      cmdDel(L"cmdDel", {180, 5520, 1845, 375}, L"D&elete Selection"),
      cmdBrowse(L"cmdBrowse", {7170, 4980, 945, 285}, L"&Browse"),
      cmdAdd(L"cmdAdd", {7170, 4650, 945, 285}, L"Ad&d"),
      tintButton8(L"tintButton8", {6270, 4080, 1845, 375}, L"&Autoexec.bat"),
      tintButton7(L"tintButton7", {4245, 4080, 1845, 375}, L"&Startup Folder"),
      tintButton6(L"tintButton6", {2205, 4080, 1845, 375}, L"&Win.ini"),
      tintButton5(L"tintButton5", {180, 4080, 1845, 375}, L"&Control.ini"),
      optRun(L"optRun", OptionRect(1), Location(1).optionCaption),
      optRunServices(L"optRunServices", OptionRect(2), Location(2).optionCaption),
      optRun2(L"optRun2", OptionRect(3), Location(3).optionCaption),
      optRun3(L"optRun3", OptionRect(4), Location(4).optionCaption),
      txtCmdLine(L"txtCmdLine", {1470, 4980, 5565, 285}),
      txtName(L"txtName", {1470, 4650, 5565, 285}),
      lstName(L"lstName", {180, 1320, 2805, 2595}),
      tintButton4(L"tintButton4", kLocationButtonRects[3], Location(4).buttonCaption),
      tintButton3(L"tintButton3", kLocationButtonRects[2], Location(3).buttonCaption),
      tintButton2(L"tintButton2", kLocationButtonRects[1], Location(2).buttonCaption),
      tintButton1(L"tintButton1", kLocationButtonRects[0], Location(1).buttonCaption),
      lstBack(L"lstBack", {3120, 1320, 5055, 2010}),
      tintButton9(L"tintButton9", {6270, 3480, 1845, 375}, L"&Finished"),
      tintButton10(L"tintButton10", {4245, 3480, 1845, 375}, L"&Restore Selected"),
      Label1(L"Label1", {180, 240, 7905, 375}, L"Quillmoor"),
      lblCmdLine(L"lbl(3)", {180, 5040, 1095, 195}, L"Command Line:"),
      lblName(L"lbl(2)", {180, 4710, 1095, 195}, L"Program Name:")
{
    cmdBackup.SetTooltip(L"View current backups");
    cmdDel.SetTooltip(L"Remove selected item from Startup");
    cmdBrowse.SetTooltip(L"Find File to add to Startup");
    cmdAdd.SetTooltip(L"Add this Process");
    tintButton8.SetTooltip(L"Processes that start from Dos");
    tintButton7.SetTooltip(L"Processes in the Startup Folder");
    tintButton6.SetTooltip(L"Startups under [load=]");
    tintButton5.SetTooltip(L"Disabled processes under [don't load]");
    tintButton9.SetTooltip(L"Back to main Window");
    tintButton10.SetTooltip(L"Restore selected item to Startup ");
    for (int location = 1; location <= kLocationCount; ++location) {
        Option(location).SetTooltip(Location(location).fullPath);
        LocationButton(location).SetTooltip(Location(location).fullPath);
    }
    // Every button's look comes from the window's stored layout.
    auto stored = LoadPropertyBags(IDR_LAYOUT_MAIN, L"tintButton");
    for (TintButtonControl* b : {&tintButton12, &Command1, &cmdBackup, &cmdDel, &cmdBrowse, &cmdAdd, &tintButton8,
             &tintButton7, &tintButton6, &tintButton5, &tintButton4, &tintButton3, &tintButton2, &tintButton1,
             &tintButton9, &tintButton10})
        b->UseStoredProperties(std::move(stored[b->Name()]));
    Label1.SetFont(FontKind::Title);
    Label1.background = kBannerColor;
}

OptionButton& FrmMain::Option(int location)
{
    OptionButton* options[kLocationCount] = {&optRun, &optRunServices, &optRun2, &optRun3};
    return *options[location - 1];
}

TintButtonControl& FrmMain::LocationButton(int location)
{
    TintButtonControl* buttons[kLocationCount] = {&tintButton1, &tintButton2, &tintButton3, &tintButton4};
    return *buttons[location - 1];
}

bool FrmMain::Load()
{
    const FormSetup setup{L"QuillmoorMain", App().Title(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
        0, kClientWidthTwips, kClientHeightTwips, kFaceColor, IDI_QUILLMOOR, nullptr};
    const std::vector<Control*> stacking = {&txtDelete, &lstCmdLine, &tintButton12, &Command1, &cmdBackup, &cmdDel,
        &cmdBrowse, &cmdAdd, &tintButton8, &tintButton7, &tintButton6, &tintButton5, &optRun, &optRunServices,
        &optRun2, &optRun3, &txtCmdLine, &txtName, &lstName, &tintButton4, &tintButton3, &tintButton2, &tintButton1,
        &lstBack, &tintButton9, &tintButton10, &Label1, &lblCmdLine, &lblName};
    const std::vector<Control*> tabOrder = {&tintButton1, &tintButton2, &tintButton3, &tintButton4, &lstName,
        &lstCmdLine, &tintButton5, &tintButton6, &tintButton7, &tintButton8, &cmdDel, &cmdBackup, &Command1, &txtName,
        &txtCmdLine, &cmdAdd, &cmdBrowse, &optRun3, &optRun2, &optRunServices, &optRun, &tintButton12, &lstBack,
        &tintButton9, &tintButton10, &txtDelete};
    if (!CreateForm(setup, stacking, tabOrder))
        return false;

    mnuFile_ = CreatePopupMenu();
    AppendMenuW(mnuFile_, MF_STRING, kMnuContents, L"&Help Contents");
    AppendMenuW(mnuFile_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(mnuFile_, MF_STRING, kMnuAbout, L"A&bout Vostrel");

    lstBack.SetVisible(false);
    cmdDel.SetEnabled(false);
    cmdAdd.SetEnabled(false);
    tintButton10.SetEnabled(false);
    // Selected before the handlers are wired: the start-up lists location 1 itself.
    optRun.Select();
    WireHandlers();

    for (ListBox* list : {&lstName, &lstCmdLine})
        SendMessageW(list->Hwnd(), LB_SETHORIZONTALEXTENT, kEntryListScrollWidth, 0);
    ListLocation(1);
    RefillBackupList(*this);
    return true;
}

void FrmMain::WireHandlers()
{
    lstName.onClick = [this] { OnNameClick(); };
    lstCmdLine.onClick = [this] { OnCmdLineClick(); };
    for (int location = 1; location <= kLocationCount; ++location) {
        Option(location).onClick = [this, location] { OnLocationSelected(location); };
        LocationButton(location).onClick = [this, location] { OnLocationButton(location); };
    }
    txtName.onChange = [this] { UpdateAddButton(*this); };
    txtCmdLine.onChange = [this] { UpdateAddButton(*this); };
    cmdAdd.onClick = [this] { AddEntry(*this); };
    cmdBrowse.onClick = [this] { BrowseForCommandLine(*this); };
    cmdDel.onClick = [this] { RemoveSelectedEntry(*this); };
    lstBack.onClick = [this] { tintButton10.SetEnabled(lstBack.SelectedIndex() >= 0); };
    tintButton10.onClick = [this] { RestoreSelectedBackup(*this); };
    tintButton5.onClick = [] { OpenControlIni(); };
    tintButton6.onClick = [] { OpenWinIni(); };
    tintButton7.onClick = [] { OpenStartupFolder(); };
    tintButton8.onClick = [] { OpenAutoexecBat(); };
    cmdBackup.onClick = [this] { ShowBackupsView(); };
    tintButton9.onClick = [this] { ShowEntriesView(); };
    Command1.onClick = [this] { ShowFileMenu(); };
    tintButton12.onClick = [] { App().EndProgram(); };
}

int FrmMain::CurrentLocation() const
{
    const OptionButton* options[kLocationCount] = {&optRun, &optRunServices, &optRun2, &optRun3};
    for (int location = 1; location <= kLocationCount; ++location) {
        if (options[location - 1]->Value())
            return location;
    }
    return 0;
}

void FrmMain::ClearEntryLists()
{
    lstName.Clear();
    lstCmdLine.Clear();
}

void FrmMain::ListLocation(int location)
{
    const StartupLocation& where = Location(location);
    RegKey key = OpenKeyForRead(where.Root(), where.listKey);
    const DWORD count = CountValues(key.Get());
    // Cleared with redraw off too: emptying a shown list repaints it and its scroll bars.
    lstName.BeginFill(static_cast<int>(count));
    lstCmdLine.BeginFill(static_cast<int>(count));
    ClearEntryLists();
    for (DWORD i = 0; i < count; ++i) {
        // One enumeration call per value; an unreadable one still gets its pair of items.
        const auto value = EnumValueText(key.Get(), i);
        lstName.Add(value ? value->name : std::wstring());
        lstCmdLine.Add(value ? value->text : std::wstring());
    }
    lstName.EndFill();
    lstCmdLine.EndFill();
    // Listing leaves nothing selected, so Delete must not stay armed for a vanished entry.
    lstName.SetSelectedIndex(-1);
    lstCmdLine.SetSelectedIndex(-1);
    cmdDel.SetEnabled(false);
}

void FrmMain::OnNameClick()
{
    const int index = lstName.SelectedIndex();
    if (index < 0) {
        cmdDel.SetEnabled(false);
        return;
    }
    lstCmdLine.SetSelectedIndex(index);
    selectedEntryName_ = lstName.Item(index);
    cmdDel.SetEnabled(true);
    txtDelete.SetText(BackupBaseName(selectedEntryName_));
}

void FrmMain::OnCmdLineClick()
{
    const int index = lstCmdLine.SelectedIndex();
    if (index < 0)
        return;
    lstName.SetSelectedIndex(index);
    selectedEntryName_ = lstName.Item(index);
}

void FrmMain::OnLocationSelected(int location)
{
    cmdDel.SetEnabled(false);
    ListLocation(location);
}

void FrmMain::OnLocationButton(int location)
{
    // The location already shown is listed again: the key may have changed behind our back.
    if (Option(location).Value())
        OnLocationSelected(location);
    else
        Option(location).Select();
}

void FrmMain::ShowBackupsView()
{
    lstBack.SetVisible(true);
    lstCmdLine.SetVisible(false);
}

void FrmMain::ShowEntriesView()
{
    lstBack.SetVisible(false);
    lstCmdLine.SetVisible(true);
}

void FrmMain::ShowFileMenu()
{
    POINT pt{};
    GetCursorPos(&pt);
    TrackPopupMenu(mnuFile_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, Hwnd(), nullptr);
}

void FrmMain::OnMenuCommand(UINT id)
{
    if (id == kMnuContents)
        OpenHelp();
    else if (id == kMnuAbout)
        ShowAboutWindow(Hwnd());
}

void FrmMain::OpenHelp()
{
    App().Services().ShellOpen(App().Folder() + L"\\Help.htm", L"", L"");
}

void FrmMain::OnClose()
{
    App().EndProgram();
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && mnuFile_) {
        DestroyMenu(mnuFile_);
        mnuFile_ = nullptr;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

} // namespace qm
