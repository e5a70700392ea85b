#pragma once

// What differs between two listings of startup entries: entries added, removed and changed.

#include "cli/ListingReader.h"
#include "cli/Output.h"

#include <vector>

namespace qm::cli {

struct CompareOptions {
    bool ignoreEnabled = false;
    std::vector<const StartupKey*> locations; // only entries of these; empty for all
};

// One row per difference: change (added, removed, changed), location, key, name, and for a
// change the field (command, type or enabled) with its baseline and current values; an added
// entry has its command as current, a removed one as baseline. Rows follow the locations'
// order, then key and name; no rows when the listings agree.
Records CompareListings(const std::vector<ListedEntry>& baseline, const std::vector<ListedEntry>& current, const CompareOptions& options);

} // namespace qm::cli
