#pragma once

#include <windows.h>

namespace qmtest {

// Delivers a key to a window as the message loop would (through the windows' filters), then
// lets what it caused run.
void PressKey(HWND target, UINT vk, bool alt = false);
// Runs what is waiting; true when ending the program left a quit request among it.
bool TakeQuitMessage();

} // namespace qmtest
