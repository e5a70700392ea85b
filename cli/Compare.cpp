#include "cli/Compare.h"

#include <algorithm>

namespace qm::cli {

namespace {

std::vector<const ListedEntry*> Sorted(const std::vector<ListedEntry>& entries, const CompareOptions& options)
{
    std::vector<const ListedEntry*> sorted;
    for (const ListedEntry& entry : entries) {
        if (options.locations.empty() || std::find(options.locations.begin(), options.locations.end(), entry.location) != options.locations.end())
            sorted.push_back(&entry);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const ListedEntry* a, const ListedEntry* b) { return CompareIdentity(*a, *b) < 0; });
    return sorted;
}

std::vector<Cell> Row(const wchar_t* change, const ListedEntry& entry, Cell field, Cell baseline, Cell current)
{
    return {std::wstring(change), std::wstring(entry.location->name), entry.key, entry.name, std::move(field), std::move(baseline), std::move(current)};
}

void AddChanges(Records& records, const ListedEntry& before, const ListedEntry& after, const CompareOptions& options)
{
    if (before.command != after.command)
        records.rows.push_back(Row(L"changed", after, std::wstring(L"command"), before.command, after.command));
    if (before.type != after.type)
        records.rows.push_back(Row(L"changed", after, std::wstring(L"type"), before.type, after.type));
    if (!options.ignoreEnabled && before.enabled != after.enabled)
        records.rows.push_back(Row(L"changed", after, std::wstring(L"enabled"), before.enabled, after.enabled));
}

} // namespace

Records CompareListings(const std::vector<ListedEntry>& baseline, const std::vector<ListedEntry>& current, const CompareOptions& options)
{
    Records records{{L"change", L"location", L"key", L"name", L"field", L"baseline", L"current"}, {}};
    const auto before = Sorted(baseline, options);
    const auto after = Sorted(current, options);
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        const int order = b == before.end() ? 1 : a == after.end() ? -1 : CompareIdentity(**b, **a);
        if (order < 0) {
            records.rows.push_back(Row(L"removed", **b, NoValue{}, (*b)->command, NoValue{}));
            ++b;
        } else if (order > 0) {
            records.rows.push_back(Row(L"added", **a, NoValue{}, NoValue{}, (*a)->command));
            ++a;
        } else {
            AddChanges(records, **b++, **a++, options);
        }
    }
    return records;
}

} // namespace qm::cli
