#pragma once

#include <string>

namespace qm {

// The Windows directory without a trailing backslash, trimmed of blanks; empty when the
// system cannot tell it.
std::wstring WinDir();

// The path of a shell special folder (a CSIDL value), created when it does not exist yet;
// empty on any failure.
std::wstring GetSpecialFolderPath(int csidl);

// Text with every %VARIABLE% the environment knows replaced by its value; unknown ones stay.
std::wstring ExpandEnvironmentVariables(const std::wstring& text);

} // namespace qm
