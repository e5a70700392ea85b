#pragma once

// What the files of a Startup folder start, as the lists show it: a shortcut's target with its
// arguments, an Internet shortcut's address, any other file as it is.

#include "registry/StartupLocations.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

struct FolderItem {
    std::wstring fileName; // with its extension, as the item is named in its state and backups
    std::wstring command;
};

// The files Windows runs from a folder source, each read once; none when the folder is missing.
std::vector<FolderItem> ReadFolderItems(const StartupKey& source);

// The command line a file of a Startup folder stands for, from its path and its bytes.
std::wstring FolderItemCommand(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// The same for a file as it is now, such as a backup's copy of one.
std::wstring FolderItemCommand(const std::wstring& path);

// The name Explorer shows for the file: without ".lnk".
std::wstring ShownName(const std::wstring& fileName);

} // namespace qm
