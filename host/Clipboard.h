#pragma once

#include <windows.h>

#include <string>

namespace qm {

// Puts text on the clipboard as Unicode text; false when the clipboard could not be had.
[[nodiscard]] bool CopyTextToClipboard(HWND owner, const std::wstring& text);

} // namespace qm
