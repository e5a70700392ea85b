#include "app/FrmMain.h"

#include "app/BackupsView.h"
#include "app/EntryCommands.h"
#include "app/EntryMenu.h"
#include "app/EntrySignatures.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/StoredLayout.h"
#include "launch/AboutTexts.h"
#include "launch/FolderItems.h"
#include "launch/FrmAbout.h"
#include "launch/Launchers.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "resources/resource.h"

namespace qm {

namespace {

constexpr COLORREF kBannerColor = 0x00FFC0C0;
// A command line whose program is gone.
constexpr COLORREF kWarningColor = RGB(192, 0, 0);
constexpr UINT_PTR kProgramCheckTimer = 1;
constexpr UINT kSignatureCheckedMessage = WM_APP + 1;
// Each tick of the check timer looks for programs this long at most.
constexpr ULONGLONG kProgramCheckSliceMs = 8;
constexpr int kClientWidthTwips = 8235;
constexpr int kClientHeightTwips = 6000;

constexpr TwipsRect kLocationButtonRects[kLocationCount] = {
    {180, 840, 1845, 375}, {2205, 840, 1845, 375}, {4230, 840, 1845, 375}, {6240, 840, 1845, 375}};
constexpr int kOptionLefts[kLocationCount] = {120, 1920, 4200, 6240};

TwipsRect OptionRect(int location)
{
    return {kOptionLefts[location - 1], 8160, 1815, 255};
}

} // namespace

FrmMain::FrmMain()
    : backupNameBox(L"txtDelete", {240, 6480, 3375, 285}),
      commandLineList(L"lstCmdLine", {3120, 1320, 5055, 2595}),
      closeButton(L"tintButton12", {6270, 5520, 1845, 375}, L"Cl&ose"),
      helpButton(L"Command1", {4245, 5520, 1845, 375}, L"&Help/About"),
      backupsButton(L"cmdBackup", {2205, 5520, 1845, 375}, L"&Backups"),
      deleteButton(L"cmdDel", {180, 5520, 1845, 375}, L"D&elete Selection"),
      browseButton(L"cmdBrowse", {7170, 4980, 945, 285}, L"&Browse"),
      addButton(L"cmdAdd", {7170, 4650, 945, 285}, L"Ad&d"),
      autoexecButton(L"tintButton8", {6270, 4080, 1845, 375}, L"&Autoexec.bat"),
      startupFolderButton(L"tintButton7", {4245, 4080, 1845, 375}, L"&Startup Folder"),
      winIniButton(L"tintButton6", {2205, 4080, 1845, 375}, L"&Win.ini"),
      controlIniButton(L"tintButton5", {180, 4080, 1845, 375}, L"&Control.ini"),
      locationOptions{{
          {L"optRun", OptionRect(1), Location(1).optionCaption},
          {L"optRunServices", OptionRect(2), Location(2).optionCaption},
          {L"optRun2", OptionRect(3), Location(3).optionCaption},
          {L"optRun3", OptionRect(4), Location(4).optionCaption},
      }},
      commandLineBox(L"txtCmdLine", {1470, 4980, 5565, 285}),
      nameBox(L"txtName", {1470, 4650, 5565, 285}),
      nameList(L"lstName", {180, 1320, 2805, 2595}),
      locationButtons{{
          {L"tintButton1", kLocationButtonRects[0], Location(1).buttonCaption},
          {L"tintButton2", kLocationButtonRects[1], Location(2).buttonCaption},
          {L"tintButton3", kLocationButtonRects[2], Location(3).buttonCaption},
          {L"tintButton4", kLocationButtonRects[3], Location(4).buttonCaption},
      }},
      backupList(L"lstBack", {3120, 1320, 5055, 2010}),
      finishedButton(L"tintButton9", {6270, 3480, 1845, 375}, L"&Finished"),
      restoreButton(L"tintButton10", {4245, 3480, 1845, 375}, L"&Restore Selected"),
      titleLabel(L"Label1", {180, 240, 7905, 375}, L"Quillmoor"),
      commandLineLabel(L"lbl(3)", {180, 5040, 1095, 195}, L"Command Line:"),
      nameLabel(L"lbl(2)", {180, 4710, 1095, 195}, L"Program Name:")
{
    backupsButton.SetTooltip(L"View current backups");
    deleteButton.SetTooltip(L"Remove selected item from Startup");
    browseButton.SetTooltip(L"Find File to add to Startup");
    addButton.SetTooltip(L"Add this Process");
    autoexecButton.SetTooltip(L"Processes that start from Dos");
    startupFolderButton.SetTooltip(L"Processes in the Startup Folder");
    winIniButton.SetTooltip(L"Startups under [load=]");
    controlIniButton.SetTooltip(L"Disabled processes under [don't load]");
    finishedButton.SetTooltip(L"Back to main Window");
    restoreButton.SetTooltip(L"Restore selected item to Startup ");
    for (int location = 1; location <= kLocationCount; ++location) {
        LocationOption(location).SetTooltip(Location(location).Native().fullPath);
        LocationButton(location).SetTooltip(Location(location).Native().fullPath);
    }
    // Every button's look comes from the window's stored layout.
    auto stored = LoadPropertyBags(IDR_LAYOUT_MAIN, L"tintButton");
    for (TintButtonControl* b : {&closeButton, &helpButton, &backupsButton, &deleteButton, &browseButton, &addButton,
             &autoexecButton, &startupFolderButton, &winIniButton, &controlIniButton, &locationButtons[3],
             &locationButtons[2], &locationButtons[1], &locationButtons[0], &finishedButton, &restoreButton})
        b->UseStoredProperties(std::move(stored[b->Name()]));
    titleLabel.SetFont(FontKind::Title);
    titleLabel.background = kBannerColor;
}

bool FrmMain::Load()
{
    const FormSetup setup{L"QuillmoorMain", App().Title(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, kClientWidthTwips,
        kClientHeightTwips, kFaceColor, IDI_QUILLMOOR, nullptr};
    const std::vector<Control*> stacking = {&backupNameBox, &commandLineList, &closeButton, &helpButton,
        &backupsButton, &deleteButton, &browseButton, &addButton, &autoexecButton, &startupFolderButton, &winIniButton,
        &controlIniButton, &locationOptions[0], &locationOptions[1], &locationOptions[2], &locationOptions[3],
        &commandLineBox, &nameBox, &nameList, &locationButtons[3], &locationButtons[2], &locationButtons[1],
        &locationButtons[0], &backupList, &finishedButton, &restoreButton, &titleLabel, &commandLineLabel, &nameLabel};
    const std::vector<Control*> tabOrder = {&locationButtons[0], &locationButtons[1], &locationButtons[2],
        &locationButtons[3], &nameList, &commandLineList, &controlIniButton, &winIniButton, &startupFolderButton,
        &autoexecButton, &deleteButton, &backupsButton, &helpButton, &nameBox, &commandLineBox, &addButton,
        &browseButton, &locationOptions[3], &locationOptions[2], &locationOptions[1], &locationOptions[0],
        &closeButton, &backupList, &finishedButton, &restoreButton, &backupNameBox};
    deleteButton.SetEnabled(false);
    addButton.SetEnabled(false);
    restoreButton.SetEnabled(false);
    // The backups view is made when it is first reached.
    if (!CreateForm(setup, stacking, tabOrder, {&backupList, &finishedButton, &restoreButton}))
        return false;
    signatureWorker_ = std::make_unique<SignatureWorker>(Hwnd(), kSignatureCheckedMessage);

    helpMenu_.reset(CreatePopupMenu());
    AppendMenuW(helpMenu_.get(), MF_STRING, kHelpContentsCommand, L"&Help Contents");
    AppendMenuW(helpMenu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(helpMenu_.get(), MF_STRING, kAboutCommand, (L"A&bout " + std::wstring(kMakerName)).c_str());

    // Selected before the handlers are wired: the start-up lists location 1 itself.
    LocationOption(1).Select();
    WireHandlers();

    ListLocation(1);
    // The view's controls wait until it is first reached; its list is read now.
    backups = ListBackups(BackupFolders());
    return true;
}

void FrmMain::OnLaterControlsCreated()
{
    backupList.SetVisible(false);
    ShowBackupList(*this);
}

void FrmMain::WireHandlers()
{
    nameList.onClick = [this] { OnNameClick(); };
    commandLineList.onClick = [this] { OnCommandLineClick(); };
    for (ListBox* list : {&nameList, &commandLineList}) {
        list->itemTooltip = [this](int index) { return EntryTooltip(*this, index); };
        list->onContextMenu = [this](int index, POINT screen) { ShowEntryMenu(*this, index, screen); };
        list->onKeyDown = [this](UINT key) {
            if (key != VK_DELETE)
                return false;
            if (deleteButton.Enabled())
                RemoveSelectedEntry(*this);
            return true;
        };
    }
    backupList.itemTooltip = [this](int index) { return BackupTooltip(*this, index); };
    for (int location = 1; location <= kLocationCount; ++location) {
        LocationOption(location).onClick = [this, location] { OnLocationSelected(location); };
        LocationButton(location).onClick = [this, location] { OnLocationButton(location); };
    }
    nameBox.onChange = [this] { UpdateAddButton(*this); };
    commandLineBox.onChange = [this] { UpdateAddButton(*this); };
    addButton.onClick = [this] { AddEntry(*this); };
    browseButton.onClick = [this] { BrowseForCommandLine(*this); };
    deleteButton.onClick = [this] { RemoveSelectedEntry(*this); };
    backupList.onClick = [this] { restoreButton.SetEnabled(backupList.SelectedIndex() >= 0); };
    restoreButton.onClick = [this] { RestoreSelectedBackup(*this); };
    controlIniButton.onClick = [] { OpenControlIni(); };
    winIniButton.onClick = [] { OpenWinIni(); };
    startupFolderButton.onClick = [] { OpenStartupFolder(); };
    autoexecButton.onClick = [] { OpenAutoexecBat(); };
    backupsButton.onClick = [this] { ShowBackupsView(); };
    finishedButton.onClick = [this] { ShowEntriesView(); };
    helpButton.onClick = [this] { ShowHelpMenu(); };
    closeButton.onClick = [this] { RequestClose(); };
}

int FrmMain::CurrentLocation() const
{
    for (int location = 1; location <= kLocationCount; ++location) {
        if (locationOptions[static_cast<size_t>(location - 1)].Value())
            return location;
    }
    return 0;
}

void FrmMain::ListLocation(int location)
{
    entries_.clear();
    signatureWorker_->NewRound();
    for (int other = 1; other <= kLocationCount; ++other) {
        if (TintButton* button = LocationButton(other).Button())
            button->SetSelected(other == location);
    }
    if (location < 1 || location > kLocationCount) {
        nameList.Clear();
        commandLineList.Clear();
        return;
    }
    const StartupLocation& where = Location(location);
    nameList.SetTooltip(LocationTooltip(where));
    commandLineList.SetTooltip(LocationTooltip(where));
    struct Source {
        const StartupKey* startupKey;
        std::vector<ValueText> values; // a folder's files: file name and command line
    };
    // Every key is read before anything is listed: see ReadValueTexts.
    std::vector<Source> sources;
    size_t total = 0;
    for (const StartupKey* startupKey : where.keys) {
        if (!startupKey)
            break;
        if (startupKey->IsFolder()) {
            std::vector<ValueText> files;
            for (FolderItem& item : ReadFolderItems(*startupKey))
                files.push_back({std::move(item.fileName), std::move(item.command)});
            sources.push_back({startupKey, std::move(files)});
        } else {
            const RegKey key = OpenStartupKeyForRead(*startupKey);
            sources.push_back({startupKey, ReadValueTexts(key.Get())});
        }
        total += sources.back().values.size();
    }
    nameList.BeginFill(static_cast<int>(total));
    commandLineList.BeginFill(static_cast<int>(total));
    entries_.reserve(total);
    for (Source& source : sources) {
        const DisabledEntries disabled = DisabledEntries::Read(*source.startupKey);
        const bool skipped = !SkippingPolicy(*source.startupKey).empty();
        for (ValueText& value : source.values) {
            const bool off = disabled.Contains(value.name);
            const COLORREF color = off || skipped ? GetSysColor(COLOR_GRAYTEXT) : CLR_INVALID;
            nameList.Add(source.startupKey->IsFolder() ? ShownName(value.name) : value.name,
                {color, EntryNote(source.startupKey->mark, std::nullopt)});
            commandLineList.Add(value.text, {color, nullptr});
            entries_.push_back({source.startupKey, std::move(value.name), off, skipped, std::nullopt, std::nullopt});
        }
    }
    nameList.EndFill();
    commandLineList.EndFill();
    // Listing leaves nothing selected, so Delete must not stay armed for a vanished entry.
    nameList.SetSelectedIndex(-1);
    commandLineList.SetSelectedIndex(-1);
    deleteButton.SetEnabled(false);
    nextProgramCheck_ = 0;
    SetTimer(Hwnd(), kProgramCheckTimer, USER_TIMER_MINIMUM, nullptr);
}

bool FrmMain::SelectEntry(const StartupKey& key, const std::wstring& name)
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key == &key && entries_[i].name == name) {
            nameList.SetSelectedIndex(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void FrmMain::CheckSomePrograms()
{
    const ULONGLONG until = GetTickCount64() + kProgramCheckSliceMs;
    while (ProgramChecksPending() && GetTickCount64() < until) {
        const size_t index = nextProgramCheck_++;
        // A selected entry may have been looked for already.
        if (entries_[index].program)
            continue;
        entries_[index].program = FindProgram(commandLineList.Item(static_cast<int>(index)));
        ShowProgramCheck(index);
        if (entries_[index].program->check == ProgramCheck::Found)
            signatureWorker_->Add(index, entries_[index].program->path);
    }
    if (!ProgramChecksPending())
        KillTimer(Hwnd(), kProgramCheckTimer);
}

void FrmMain::ShowProgramCheck(size_t index)
{
    const ListedEntry& entry = entries_[index];
    if (entry.program && entry.program->check == ProgramCheck::Missing)
        commandLineList.SetStyle(static_cast<int>(index), {kWarningColor, nullptr});
}

void FrmMain::CheckSelectedFirst(size_t index)
{
    ListedEntry& entry = entries_[index];
    if (entry.signature)
        return;
    if (!entry.program) {
        entry.program = FindProgram(commandLineList.Item(static_cast<int>(index)));
        ShowProgramCheck(index);
    }
    if (entry.program->check == ProgramCheck::Found)
        signatureWorker_->CheckFirst(index, entry.program->path);
}

void FrmMain::ShowSignature(WPARAM round, LPARAM index)
{
    auto signature = signatureWorker_->Take(round, index);
    if (!signature || static_cast<size_t>(index) >= entries_.size())
        return;
    ListedEntry& entry = entries_[static_cast<size_t>(index)];
    entry.signature = std::move(signature);
    const int item = static_cast<int>(index);
    nameList.SetStyle(item, {nameList.Style(item).color, EntryNote(entry.key->mark, entry.signature)});
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kProgramCheckTimer) {
        CheckSomePrograms();
        return 0;
    }
    if (message == kSignatureCheckedMessage) {
        ShowSignature(wParam, lParam);
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

const FrmMain::ListedEntry* FrmMain::SelectedEntry() const
{
    const int index = nameList.SelectedIndex();
    return index >= 0 && static_cast<size_t>(index) < entries_.size() ? &entries_[static_cast<size_t>(index)] : nullptr;
}

std::wstring FrmMain::SelectedEntryName() const
{
    const ListedEntry* selected = SelectedEntry();
    return selected ? selected->name : std::wstring();
}

void FrmMain::OnNameClick()
{
    const int index = nameList.SelectedIndex();
    if (index < 0) {
        deleteButton.SetEnabled(false);
        return;
    }
    commandLineList.SetSelectedIndex(index);
    CheckSelectedFirst(static_cast<size_t>(index));
    deleteButton.SetEnabled(true);
    backupNameBox.SetText(BackupBaseName(SelectedEntryName(), MaxBackupBaseName(App().Folder())));
}

void FrmMain::OnCommandLineClick()
{
    const int index = commandLineList.SelectedIndex();
    if (index < 0)
        return;
    nameList.SetSelectedIndex(index);
}

void FrmMain::OnLocationSelected(int location)
{
    deleteButton.SetEnabled(false);
    ListLocation(location);
}

void FrmMain::OnLocationButton(int location)
{
    // The location already shown is listed again: the key may have changed behind our back.
    if (LocationOption(location).Value())
        OnLocationSelected(location);
    else
        LocationOption(location).Select();
}

void FrmMain::ShowBackupsView()
{
    static_cast<void>(CreateLaterControls());
    backupList.SetVisible(true);
    commandLineList.SetVisible(false);
}

void FrmMain::ShowEntriesView()
{
    backupList.SetVisible(false);
    commandLineList.SetVisible(true);
}

void FrmMain::ShowHelpMenu()
{
    POINT pt{};
    GetCursorPos(&pt);
    TrackPopupMenu(helpMenu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, Hwnd(), nullptr);
}

void FrmMain::OnMenuCommand(UINT id)
{
    if (id == kHelpContentsCommand)
        OpenHelp();
    else if (id == kAboutCommand)
        ShowAboutWindow(Hwnd());
}

void FrmMain::OpenHelp()
{
    App().Services().ShellOpen(App().Folder() + L"\\Help.htm", L"", L"");
}

void FrmMain::OnClose()
{
    RequestClose();
}

void FrmMain::RequestClose()
{
    if (runningCommands_ > 0)
        closeRequested_ = true;
    else
        App().EndProgram();
}

void FrmMain::CommandEnded()
{
    // Posted, so that the window goes after the handler that ran the command has returned.
    if (--runningCommands_ == 0 && closeRequested_)
        PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

} // namespace qm
