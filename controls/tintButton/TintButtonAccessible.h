#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// Answers WM_GETOBJECT for a button's window. For its client area: an accessible object that
// reports a push button named by its caption, with its access key and a "Press" action;
// otherwise 0, and the platform answers.
LRESULT ButtonAccessibleObject(HWND button, WPARAM wParam, LPARAM lParam);

// Asks a button's window whether its holder made it the selected one (TRUE or FALSE): the
// accessible object has only the window to ask.
inline constexpr UINT kGetSelectedMessage = WM_USER + 1;

// A caption as it is shown: each "&" marks the character after it, so "&&" shows one.
std::wstring ShownCaption(std::wstring_view caption);

} // namespace qm
