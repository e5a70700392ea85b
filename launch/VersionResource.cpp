#include "launch/VersionResource.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace qm {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;      // "MZ"
constexpr std::uint32_t kPeMagic = 0x00004550;   // "PE\0\0"
constexpr std::uint16_t kPe32 = 0x10B;
constexpr std::uint16_t kPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kMaxSections = 96;       // the loader's own limit
constexpr std::uint32_t kVersionType = 16;       // RT_VERSION
constexpr std::uint32_t kVersionName = 1;        // VS_VERSION_INFO
constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::uint16_t kNeutral = 0x0000;
constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::size_t kBlock = 4096;
constexpr std::size_t kMaxVersionInfo = 0xFFFF; // its root node's length is 16 bits

// The file seen through one cached block, so the headers and the resource directory take a
// read or two instead of one per field.
class FileWindow {
public:
    explicit FileWindow(const ReadFileBytes& read) : read_(read) {}

    std::optional<std::vector<std::uint8_t>> Bytes(std::uint64_t at, std::size_t count)
    {
        if (!Load(at, count))
            return std::nullopt;
        const auto from = block_.begin() + static_cast<std::ptrdiff_t>(at - start_);
        return std::vector<std::uint8_t>(from, from + static_cast<std::ptrdiff_t>(count));
    }

    std::optional<std::uint16_t> U16(std::uint64_t at)
    {
        if (!Load(at, 2))
            return std::nullopt;
        const std::size_t i = static_cast<std::size_t>(at - start_);
        return static_cast<std::uint16_t>(block_[i] | (block_[i + 1] << 8));
    }

    std::optional<std::uint32_t> U32(std::uint64_t at)
    {
        const auto low = U16(at);
        const auto high = U16(at + 2);
        if (!low || !high)
            return std::nullopt;
        return static_cast<std::uint32_t>(*low) | (static_cast<std::uint32_t>(*high) << 16);
    }

private:
    bool Load(std::uint64_t at, std::size_t count)
    {
        if (at >= start_ && at - start_ <= block_.size() && count <= block_.size() - (at - start_))
            return true;
        block_ = read_(at, std::max(count, kBlock));
        start_ = at;
        return count <= block_.size();
    }

    const ReadFileBytes& read_;
    std::vector<std::uint8_t> block_;
    std::uint64_t start_ = 0;
};

struct Section {
    std::uint32_t address;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// Where a range of the loaded image lies in the file: in the raw data of one section.
std::optional<std::uint64_t> FileOffset(const std::vector<Section>& sections, std::uint32_t address, std::uint32_t size)
{
    for (const Section& s : sections) {
        if (address >= s.address && address - s.address < s.rawSize && size <= s.rawSize - (address - s.address))
            return std::uint64_t{s.rawOffset} + (address - s.address);
    }
    return std::nullopt;
}

struct DirectoryEntry {
    std::uint32_t id; // kHighBit set for an entry known by name
    std::uint32_t target;
};

std::vector<DirectoryEntry> DirectoryEntries(FileWindow& file, std::uint64_t at)
{
    std::vector<DirectoryEntry> entries;
    const auto named = file.U16(at + 12);
    const auto numbered = file.U16(at + 14);
    if (!named || !numbered)
        return entries;
    const std::uint32_t count = std::uint32_t{*named} + *numbered;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto name = file.U32(at + 16 + 8ull * i);
        const auto target = file.U32(at + 20 + 8ull * i);
        if (!name || !target)
            break;
        entries.push_back({(*name & kHighBit) ? kHighBit : (*name & 0xFFFF), *target});
    }
    return entries;
}

// The subdirectory an entry of the given id leads to, as an offset into the resource section.
std::optional<std::uint32_t> Subdirectory(const std::vector<DirectoryEntry>& entries, std::uint32_t id)
{
    const auto found = std::find_if(entries.begin(), entries.end(), [id](const DirectoryEntry& e) { return e.id == id; });
    if (found == entries.end() || !(found->target & kHighBit))
        return std::nullopt;
    return found->target & ~kHighBit;
}

std::optional<std::uint32_t> LanguageData(const std::vector<DirectoryEntry>& entries, std::uint16_t language)
{
    for (const std::uint32_t wanted : {std::uint32_t{kNeutral}, std::uint32_t{language}, std::uint32_t{kUsEnglish}}) {
        const auto found = std::find_if(entries.begin(), entries.end(), [wanted](const DirectoryEntry& e) { return e.id == wanted; });
        if (found != entries.end())
            return (found->target & kHighBit) ? std::nullopt : std::optional(found->target);
    }
    if (entries.empty() || (entries.front().target & kHighBit))
        return std::nullopt;
    return entries.front().target;
}

std::vector<std::uint8_t> VersionInfo(FileWindow& file, const std::vector<Section>& sections, std::uint32_t resourceAddress,
    std::uint16_t language)
{
    const auto base = FileOffset(sections, resourceAddress, 16);
    if (!base)
        return {};
    const auto types = Subdirectory(DirectoryEntries(file, *base), kVersionType);
    const auto names = types ? Subdirectory(DirectoryEntries(file, *base + *types), kVersionName) : std::nullopt;
    const auto data = names ? LanguageData(DirectoryEntries(file, *base + *names), language) : std::nullopt;
    const auto address = data ? file.U32(*base + *data) : std::nullopt;
    const auto size = data ? file.U32(*base + *data + 4) : std::nullopt;
    if (!address || !size)
        return {};
    const std::uint32_t kept = std::min<std::uint32_t>(*size, kMaxVersionInfo);
    const auto offset = FileOffset(sections, *address, kept);
    if (!offset)
        return {};
    return file.Bytes(*offset, kept).value_or(std::vector<std::uint8_t>());
}

// One node of the version resource's tree: a key, a value, then child nodes, each part on a
// four-byte boundary of the resource.
struct Node {
    std::size_t end = 0;
    std::uint16_t valueLength = 0; // in characters for text, in bytes otherwise
    std::size_t value = 0;
    std::size_t children = 0;
    std::wstring key;
};

class VersionTree {
public:
    explicit VersionTree(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::optional<Node> Root() const { return NodeAt(0, bytes_.size()); }

    std::optional<Node> Child(const Node& parent, std::wstring_view key) const
    {
        for (std::size_t at = parent.children; at < parent.end;) {
            const auto child = NodeAt(at, parent.end);
            if (!child)
                return std::nullopt;
            if (SameKey(child->key, key))
                return child;
            at = Align(child->end);
        }
        return std::nullopt;
    }

    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8)); }

    // The node's value as text: at most its stated length, never past the node, up to a NUL.
    std::wstring Text(const Node& node) const
    {
        std::wstring text;
        for (std::size_t i = 0, at = node.value; i < node.valueLength && at + 2 <= node.end; ++i, at += 2) {
            const std::uint16_t unit = U16(at);
            if (unit == 0)
                break;
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }

private:
    static std::size_t Align(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

    static bool SameKey(const std::wstring& a, std::wstring_view b)
    {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
    }

    std::optional<Node> NodeAt(std::size_t at, std::size_t limit) const
    {
        if (limit > bytes_.size() || at > limit || limit - at < 6)
            return std::nullopt;
        const std::uint16_t length = U16(at);
        if (length < 6 || length > limit - at)
            return std::nullopt;
        Node node;
        node.end = at + length;
        node.valueLength = U16(at + 2);
        const bool text = U16(at + 4) == 1;
        std::size_t i = at + 6;
        for (; i + 2 <= node.end && U16(i) != 0; i += 2)
            node.key += static_cast<wchar_t>(U16(i));
        if (i + 2 > node.end)
            return std::nullopt;
        node.value = std::min(Align(i + 2), node.end);
        const std::size_t valueBytes = std::size_t{node.valueLength} * (text ? 2 : 1);
        node.children = std::min(Align(node.value + valueBytes), node.end);
        return node;
    }

    const std::vector<std::uint8_t>& bytes_;
};

} // namespace

std::vector<std::uint8_t> ReadVersionResource(const ReadFileBytes& read, std::uint16_t language)
{
    FileWindow file(read);
    const auto peAt = file.U16(0) == kDosMagic ? file.U32(0x3C) : std::nullopt;
    if (!peAt || file.U32(*peAt) != kPeMagic)
        return {};
    const std::uint64_t header = std::uint64_t{*peAt} + 4;
    const std::uint64_t optional = header + 20;
    const auto sectionCount = file.U16(header + 2);
    const auto optionalSize = file.U16(header + 16);
    const auto magic = file.U16(optional);
    if (!sectionCount || !optionalSize || (magic != kPe32 && magic != kPe32Plus))
        return {};
    const std::uint64_t countAt = optional + (magic == kPe32 ? 92 : 108);
    const auto directoryCount = file.U32(countAt);
    if (!directoryCount || countAt + 4 > optional + *optionalSize)
        return {};
    // A directory the optional header is too short to hold is absent, as the loader takes it.
    const std::uint64_t resourceAt = countAt + 4 + 8ull * kResourceDirectory;
    const auto resources = kResourceDirectory < *directoryCount && resourceAt + 8 <= optional + *optionalSize
                               ? file.U32(resourceAt) : std::nullopt;
    if (!resources || *resources == 0 || *sectionCount > kMaxSections)
        return {};
    std::vector<Section> sections;
    const std::uint64_t table = optional + *optionalSize;
    for (std::uint32_t i = 0; i < *sectionCount; ++i) {
        const std::uint64_t at = table + 40ull * i;
        const auto address = file.U32(at + 12);
        const auto rawSize = file.U32(at + 16);
        const auto rawOffset = file.U32(at + 20);
        if (!address || !rawSize || !rawOffset)
            return {};
        sections.push_back({*address, *rawSize, *rawOffset});
    }
    return VersionInfo(file, sections, *resources, language);
}

std::wstring CompanyInVersionInfo(const std::vector<std::uint8_t>& versionInfo)
{
    const VersionTree tree(versionInfo);
    const auto root = tree.Root();
    if (!root)
        return {};
    std::vector<std::wstring> translations;
    const auto variables = tree.Child(*root, L"VarFileInfo");
    const auto listed = variables ? tree.Child(*variables, L"Translation") : std::nullopt;
    if (listed && listed->valueLength >= 4 && listed->value + 4 <= listed->end) {
        constexpr wchar_t kHex[] = L"0123456789ABCDEF";
        std::wstring name;
        for (const std::uint16_t part : {tree.U16(listed->value), tree.U16(listed->value + 2)}) {
            for (int shift = 12; shift >= 0; shift -= 4)
                name += kHex[(part >> shift) & 0xF];
        }
        translations.push_back(std::move(name));
    }
    translations.emplace_back(L"040904B0");
    translations.emplace_back(L"040904E4");
    const auto strings = tree.Child(*root, L"StringFileInfo");
    if (!strings)
        return {};
    for (const std::wstring& translation : translations) {
        const auto table = tree.Child(*strings, translation);
        const auto company = table ? tree.Child(*table, L"CompanyName") : std::nullopt;
        if (std::wstring text = company ? tree.Text(*company) : std::wstring(); !text.empty())
            return text;
    }
    return {};
}

} // namespace qm
