#pragma once

#include <string>

namespace qm {

// The four launchers of the main window: the classic start-up files in Notepad and the
// user's Startup folder in a folder window. Failures are left to the opened program.
void OpenControlIni();
void OpenWinIni();
void OpenAutoexecBat();
void OpenStartupFolder();

} // namespace qm
