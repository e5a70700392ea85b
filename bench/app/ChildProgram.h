#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qmbench {

// A step the program reported of its start (host/StartupSteps.h): "main" on entering wWinMain,
// "created" once its window and controls are made (hidden), "shown" once it is shown.
struct Step {
    std::string name;
    double ms = 0;          // from just before CreateProcessW
    SIZE_T workingSet = 0;
};

struct FirstPaint {
    double ms = 0;              // from just before CreateProcessW to the first complete paint
    SIZE_T peakWorkingSet = 0;  // the process's own counter, read right after that paint
    int mostListItems = 0;      // the fullest list box of the window, to show what was listed
    std::vector<Step> steps;    // in the order reported
};

// Starts a program in its own folder, waits until its captioned top-level window is visible
// and painted, then closes it (WM_CLOSE, as the close box) and waits for it to end.
//
// "Painted" is judged from outside, without any help from the program: the window is
// visible and neither it nor any visible child has an update region left. Showing a window
// gives it and its children an update region in the same step that makes it visible, and
// only BeginPaint (WM_PAINT) empties it again, so the first poll that finds the tree
// visible and validated follows the end of the first paint by at most one poll interval
// (about a millisecond).
std::optional<FirstPaint> RunToFirstPaint(const std::wstring& program, DWORD timeoutMs = 30000);

} // namespace qmbench
