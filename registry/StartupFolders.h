#pragma once

// The two Startup folders: Windows runs every file in them at logon, except hidden system
// files (desktop.ini) and subfolders.

#include "registry/StartupLocations.h"

#include <string>
#include <vector>

namespace qm {

// The folder of a folder source, without a trailing backslash; empty for a key, or when the
// system cannot tell it. A folder that does not exist yet still has its path.
std::wstring StartupFolderPath(const StartupKey& source);

// Where a source's entries are: the key's full path, or the folder's.
std::wstring SourcePath(const StartupKey& source);

// The names (with their extensions) of the files Windows runs from a Startup folder, in the
// folder's order; none for a folder that does not exist.
std::vector<std::wstring> StartupFolderFiles(const std::wstring& folder);

// Sends both folders elsewhere for the rest of the process (tests, which must never reach the
// machine's own Startup folders); empty paths give the system's folders back.
void RedirectStartupFolders(const std::wstring& user, const std::wstring& common);

} // namespace qm
