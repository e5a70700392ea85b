#pragma once

namespace qm {

class FrmMain;

// Writes the typed name and command line into the current location.
void AddEntry(FrmMain& window);
// Lets the user pick the program to start; a path with blanks is quoted.
void BrowseForCommandLine(FrmMain& window);
// "Ad&d" is usable while both fields hold something.
void UpdateAddButton(FrmMain& window);
// Removes the selected entry after asking, once its backup is safely written.
void RemoveSelectedEntry(FrmMain& window);

} // namespace qm
