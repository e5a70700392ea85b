#include "app/EntryMenu.h"

#include "app/EntrySignatures.h"
#include "app/FrmMain.h"
#include "host/Application.h"
#include "host/Clipboard.h"
#include "registry/StartupApproved.h"
#include "registry/StartupFolders.h"

namespace qm {

namespace {

void ToggleStartup(FrmMain& window, const FrmMain::ListedEntry& entry)
{
    const StartupKey& key = *entry.key;
    const std::wstring name = entry.name;
    const bool enable = entry.disabled;
    if (!SetStartupEnabled(key, name, enable)) {
        const std::wstring done = enable ? L"enabled" : L"disabled";
        window.ShowMessage(name + L" was not " + done + L" because its startup setting could not be changed.",
            kMbOkExclamation, enable ? L"Process Not Enabled" : L"Process Not Disabled");
        return;
    }
    window.ListLocation(window.CurrentLocation());
    static_cast<void>(window.SelectEntry(key, name));
}

void OpenFileLocation(FrmMain& window, const FrmMain::ListedEntry& entry, const std::wstring& commandLine)
{
    const ProgramLookup program = entry.program ? *entry.program : FindProgram(commandLine);
    if (program.check == ProgramCheck::Missing || program.path.empty()) {
        window.ShowMessage(L"Program not found: " + (program.path.empty() ? commandLine : program.path), kMbOkExclamation,
            L"Open File Location");
        return;
    }
    App().Services().ShellOpen(L"explorer.exe", L"/select,\"" + program.path + L"\"", L"");
}

} // namespace

UniqueMenu BuildEntryMenu(const FrmMain& window, int index)
{
    const auto& entries = window.Entries();
    UniqueMenu menu(CreatePopupMenu());
    if (!menu || index < 0 || static_cast<size_t>(index) >= entries.size())
        return menu;
    const FrmMain::ListedEntry& entry = entries[static_cast<size_t>(index)];
    const UINT toggleFlags = MF_STRING | (entry.key->HasApprovedKey() ? 0 : MF_GRAYED);
    AppendMenuW(menu.get(), toggleFlags, kToggleStartupCommand,
        entry.disabled ? L"&Enable at Startup" : L"&Disable at Startup");
    AppendMenuW(menu.get(), MF_STRING, kOpenFileLocationCommand, L"&Open File Location");
    AppendMenuW(menu.get(), MF_STRING, kCopyCommandLineCommand, L"&Copy Command Line");
    return menu;
}

void ShowEntryMenu(FrmMain& window, int index, POINT screen)
{
    const UniqueMenu menu = BuildEntryMenu(window, index);
    const auto command = static_cast<UINT>(TrackPopupMenu(menu.get(),
        TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window.Hwnd(), nullptr));
    if (command != 0)
        RunEntryMenuCommand(window, command);
}

void RunEntryMenuCommand(FrmMain& window, UINT command)
{
    const FrmMain::ListedEntry* selected = window.SelectedEntry();
    if (!selected)
        return;
    const FrmMain::CommandScope scope(window);
    // Copied: a command may list the location again.
    const FrmMain::ListedEntry entry = *selected;
    const std::wstring commandLine = window.commandLineList.Item(window.nameList.SelectedIndex());
    switch (command) {
    case kToggleStartupCommand:
        if (entry.key->HasApprovedKey())
            ToggleStartup(window, entry);
        break;
    case kOpenFileLocationCommand:
        OpenFileLocation(window, entry, commandLine);
        break;
    case kCopyCommandLineCommand:
        if (!CopyTextToClipboard(window.Hwnd(), commandLine))
            window.ShowMessage(L"The command line could not be copied.", kMbOkExclamation, L"Copy Command Line");
        break;
    default:
        break;
    }
}

std::wstring EntryTooltip(const FrmMain& window, int index)
{
    const auto& entries = window.Entries();
    if (index < 0 || static_cast<size_t>(index) >= entries.size())
        return {};
    const FrmMain::ListedEntry& entry = entries[static_cast<size_t>(index)];
    std::wstring tip;
    auto line = [&tip](const std::wstring& text) { tip += (tip.empty() ? L"" : L"\r\n") + text; };
    if (entry.disabled)
        line(L"Disabled at startup");
    if (entry.skipped)
        line(L"Not started: a policy tells Windows to skip this list (" + SkippingPolicy(*entry.key) + L")");
    line(entry.key->mark ? std::wstring(entry.key->mark) + L": " + SourcePath(*entry.key) : SourcePath(*entry.key));
    if (!entry.key->HasApprovedKey())
        line(entry.key->source == StartupSource::RunOnce ? L"Windows keeps no on/off state for RunOnce entries: it runs "
                                                           L"each once and deletes it"
                                                         : L"Windows keeps no on/off state for entries of this key");
    if (entry.key->source == StartupSource::Policy)
        line(L"Group Policy may put it back at its next refresh");
    if (entry.program && entry.program->check == ProgramCheck::Missing)
        line(L"Program not found: " + entry.program->path);
    if (entry.signature) {
        for (const std::wstring& text : SignatureLines(*entry.signature))
            line(text);
    }
    return tip;
}

std::wstring LocationTooltip(const StartupLocation& location)
{
    std::wstring tip = std::wstring(location.optionCaption) + L" lists";
    for (const StartupKey* key : location.keys) {
        if (key)
            tip += L"\r\n" + SourcePath(*key);
    }
    return tip;
}

} // namespace qm
