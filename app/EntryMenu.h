#pragma once

#include "host/Handles.h"
#include "registry/StartupLocations.h"

#include <windows.h>

#include <string>

namespace qm {

class FrmMain;

// The context menu of the entry lists: turn the entry on or off at startup as Task Manager
// does, open its program's folder, copy its command line.
enum EntryMenuCommand : UINT { kToggleStartupCommand = 101, kOpenFileLocationCommand, kCopyCommandLineCommand };

// The menu for the listed entry at index; the toggle is greyed where the entry's key keeps
// no enabled state.
UniqueMenu BuildEntryMenu(const FrmMain& window, int index);
// Shows the menu at a screen point and carries out what is chosen on the selected entry.
void ShowEntryMenu(FrmMain& window, int index, POINT screen);
void RunEntryMenuCommand(FrmMain& window, UINT command);

// What the lists' tooltip says of an entry: its state, the key it comes from, a missing
// program, its program's signature and the company the program claims.
std::wstring EntryTooltip(const FrmMain& window, int index);
// What the lists' tooltip says between their items: the location shown and every key it lists.
std::wstring LocationTooltip(const StartupLocation& location);

} // namespace qm
