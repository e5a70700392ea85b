#pragma once

// Reads back what `list --format json` wrote, so that two listings can be compared. Strict: a
// file that is not such a listing is refused with the line and column of the first fault.

#include "cli/Output.h"
#include "registry/StartupLocations.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

// The fields of a listed entry that say what starts and whether it does.
struct ListedEntry {
    const StartupKey* location = nullptr;
    std::wstring key;
    std::wstring name;
    std::wstring type;
    bool enabled = true;
    std::wstring command;
};

struct ListingRead {
    std::optional<std::vector<ListedEntry>> entries;
    std::wstring error; // one line, when the text is not a listing
};

// The bytes of a listing file: UTF-8, with or without a byte-order mark, or UTF-16LE with its
// mark (what Windows PowerShell 5.1 writes for "> file"). One array of objects whose values
// are strings, true, false or null; each object holds at least location (a location's name),
// key, name, type, enabled (true or false) and command; no entry may appear twice.
[[nodiscard]] ListingRead ReadListing(std::string_view bytes);

// Orders entries by location (in the table's order), then by key and by name, both ignoring
// case as the registry does: negative, zero (the same entry) or positive.
int CompareIdentity(const ListedEntry& a, const ListedEntry& b);

// The entries of the records EntryRecords makes for the live registry.
std::vector<ListedEntry> ListedEntries(const Records& records);

} // namespace qm::cli
