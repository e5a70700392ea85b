#pragma once

#include <string>

namespace qmbench {

// Startup entries in the real HKLM Run key, for benchmarks that start quillmoor.exe as a
// process of its own: it cannot see a registry redirection of ours. Seeded only under Wine,
// where that key is the build's private prefix and never a real machine's; the entries
// carry a name prefix of their own and are removed again at the end (leftovers of an
// interrupted run first).
class PrefixRunEntries {
public:
    explicit PrefixRunEntries(int count);
    ~PrefixRunEntries();
    PrefixRunEntries(const PrefixRunEntries&) = delete;
    PrefixRunEntries& operator=(const PrefixRunEntries&) = delete;

    bool Seeded() const { return seeded_; }
    // Every value of the key, ours and any the prefix had before.
    int ValuesInKey() const;

private:
    bool seeded_ = false;
};

// Shortcuts in both of the prefix's Startup folders, for the same benchmarks and under the same
// rules: seeded under Wine only, named with the same prefix, removed again at the end.
class PrefixStartupShortcuts {
public:
    explicit PrefixStartupShortcuts(int perFolder);
    ~PrefixStartupShortcuts();
    PrefixStartupShortcuts(const PrefixStartupShortcuts&) = delete;
    PrefixStartupShortcuts& operator=(const PrefixStartupShortcuts&) = delete;

    bool Seeded() const { return seeded_; }

private:
    std::wstring folders_[2];
    int perFolder_;
    bool seeded_ = false;
};

} // namespace qmbench
