#include "launch/ShellLink.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qm {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlag : std::uint32_t {
    kHasIdList = 0x1,
    kHasLinkInfo = 0x2,
    kHasName = 0x4,
    kHasRelativePath = 0x8,
    kHasWorkingFolder = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
};

constexpr std::uint32_t kLocalPathPresent = 0x1;   // LinkInfo flags
constexpr std::uint32_t kNetworkPathPresent = 0x2;
constexpr std::uint32_t kUnicodeLinkInfoHeader = 0x24;
constexpr std::uint32_t kUnicodeNetworkHeader = 0x14;

constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::uint32_t kDarwinBlock = 0xA0000006;
// Both blocks: size and signature, 260 ANSI characters, then 260 UTF-16 ones.
constexpr std::size_t kPathBlockSize = 0x314;
constexpr std::size_t kPathBlockAnsi = 8;
constexpr std::size_t kPathBlockUnicode = 8 + 260;
constexpr std::size_t kPathBlockChars = 260;

// A window on the file's bytes that answers nothing outside them.
class Bytes {
public:
    explicit Bytes(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool Has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }

    std::optional<std::uint32_t> U32(std::size_t at) const
    {
        if (!Has(at, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }

    std::optional<std::uint16_t> U16(std::size_t at) const
    {
        if (!Has(at, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }

    // NUL-terminated 8-bit text from at, never past end; nothing without its NUL.
    std::optional<std::string> AnsiZ(std::size_t at, std::size_t end) const
    {
        std::string text;
        for (std::size_t i = at; i < end && i < bytes_.size(); ++i) {
            if (bytes_[i] == 0)
                return text;
            text += static_cast<char>(bytes_[i]);
        }
        return std::nullopt;
    }

    // NUL-terminated UTF-16 text from at, never past end; nothing without its NUL.
    std::optional<std::wstring> UnicodeZ(std::size_t at, std::size_t end) const
    {
        std::wstring text;
        for (std::size_t i = at; i + 1 < end && i + 1 < bytes_.size(); i += 2) {
            const auto unit = static_cast<wchar_t>(bytes_[i] | (bytes_[i + 1] << 8));
            if (unit == 0)
                return text;
            text += unit;
        }
        return std::nullopt;
    }

    // Exactly count UTF-16 units from at.
    std::wstring Unicode(std::size_t at, std::size_t count) const
    {
        std::wstring text(count, L'\0');
        for (std::size_t i = 0; i < count; ++i)
            text[i] = static_cast<wchar_t>(bytes_[at + 2 * i] | (bytes_[at + 2 * i + 1] << 8));
        return text;
    }

    std::string Ansi(std::size_t at, std::size_t count) const
    {
        return std::string(reinterpret_cast<const char*>(bytes_.data() + at), count);
    }

    std::size_t Size() const { return bytes_.size(); }
    bool Matches(std::size_t at, const std::array<std::uint8_t, 16>& expected) const
    {
        return Has(at, expected.size()) && std::equal(expected.begin(), expected.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

std::wstring JoinSuffix(std::wstring base, const std::wstring& suffix)
{
    if (!suffix.empty() && !base.empty() && base.back() != L'\\')
        base += L'\\';
    return base + suffix;
}

// A text of one of the two 260-character fields of a path block: the UTF-16 one unless it is
// empty.
std::wstring PathBlockText(const Bytes& bytes, std::size_t block, const AnsiCodec& ansi)
{
    std::wstring unicode = bytes.Unicode(block + kPathBlockUnicode, kPathBlockChars);
    unicode.resize(std::min(unicode.find(L'\0'), unicode.size()));
    if (!unicode.empty())
        return unicode;
    std::string narrow = bytes.Ansi(block + kPathBlockAnsi, kPathBlockChars);
    narrow.resize(std::min(narrow.find('\0'), narrow.size()));
    return ansi.Decode(narrow);
}

// The LinkInfo structure at at, of size bytes: the local and the network path.
bool ReadLinkInfo(const Bytes& bytes, std::size_t at, std::uint32_t size, const AnsiCodec& ansi, ShellLink& link)
{
    const std::size_t end = at + size;
    const auto headerSize = bytes.U32(at + 4);
    const auto flags = bytes.U32(at + 8);
    const auto localOffset = bytes.U32(at + 16);
    const auto networkOffset = bytes.U32(at + 20);
    const auto suffixOffset = bytes.U32(at + 24);
    if (!headerSize || !flags || !localOffset || !networkOffset || !suffixOffset || *headerSize > size)
        return false;
    // A string given twice, UTF-16 where the header has room for its offset, else 8-bit.
    const auto text = [&](std::size_t base, std::optional<std::uint32_t> unicodeOffset,
                          std::uint32_t narrowOffset) -> std::optional<std::wstring> {
        if (unicodeOffset && *unicodeOffset)
            return bytes.UnicodeZ(base + *unicodeOffset, end);
        if (auto narrow = bytes.AnsiZ(base + narrowOffset, end))
            return ansi.Decode(*narrow);
        return std::nullopt;
    };
    const bool unicode = *headerSize >= kUnicodeLinkInfoHeader;
    const auto suffix = text(at, unicode ? bytes.U32(at + 32) : std::nullopt, *suffixOffset);
    if (!suffix)
        return false;
    if (*flags & kLocalPathPresent) {
        const auto local = text(at, unicode ? bytes.U32(at + 28) : std::nullopt, *localOffset);
        if (!local)
            return false;
        link.localPath = JoinSuffix(*local, *suffix);
    }
    if (*flags & kNetworkPathPresent) {
        const std::size_t network = at + *networkOffset;
        const auto netNameOffset = bytes.U32(network + 8);
        if (!netNameOffset)
            return false;
        const auto share =
            text(network, *netNameOffset > kUnicodeNetworkHeader ? bytes.U32(network + 20) : std::nullopt, *netNameOffset);
        if (!share)
            return false;
        link.networkPath = JoinSuffix(*share, *suffix);
    }
    return true;
}

void ReadExtraData(const Bytes& bytes, std::size_t at, const AnsiCodec& ansi, ShellLink& link)
{
    while (const auto size = bytes.U32(at)) {
        // A size under 4 ends the list; a block that claims more than there is ends it too.
        if (*size < 4 || !bytes.Has(at, *size))
            return;
        const auto signature = bytes.U32(at + 4);
        if (*size >= kPathBlockSize && signature == kEnvironmentBlock)
            link.environmentTarget = PathBlockText(bytes, at, ansi);
        else if (*size >= kPathBlockSize && signature == kDarwinBlock)
            link.darwinId = PathBlockText(bytes, at, ansi);
        at += *size;
    }
}

} // namespace

std::optional<ShellLink> ParseShellLink(const std::vector<std::uint8_t>& data, const AnsiCodec& ansi)
{
    const Bytes bytes(data);
    const auto flags = bytes.U32(0x14);
    if (bytes.U32(0) != kHeaderSize || !bytes.Matches(4, kLinkClsid) || !flags || !bytes.Has(0, kHeaderSize))
        return std::nullopt;
    ShellLink link;
    std::size_t at = kHeaderSize;
    if (*flags & kHasIdList) {
        const auto size = bytes.U16(at);
        if (!size || !bytes.Has(at + 2, *size))
            return std::nullopt;
        link.hasIdList = true;
        at += 2 + *size;
    }
    if (*flags & kHasLinkInfo) {
        const auto size = bytes.U32(at);
        if (!size || *size < 28 || !bytes.Has(at, *size) || !ReadLinkInfo(bytes, at, *size, ansi, link))
            return std::nullopt;
        at += *size;
    }
    const bool unicode = (*flags & kIsUnicode) != 0;
    for (const auto& [flag, field] : {std::pair{kHasName, static_cast<std::wstring*>(nullptr)},
             std::pair{kHasRelativePath, &link.relativePath}, std::pair{kHasWorkingFolder, &link.workingFolder},
             std::pair{kHasArguments, &link.arguments}, std::pair{kHasIconLocation, static_cast<std::wstring*>(nullptr)}}) {
        if (!(*flags & flag))
            continue;
        const auto count = bytes.U16(at);
        const std::size_t length = count ? std::size_t{*count} * (unicode ? 2 : 1) : 0;
        if (!count || !bytes.Has(at + 2, length))
            return std::nullopt;
        if (field)
            *field = unicode ? bytes.Unicode(at + 2, *count) : ansi.Decode(bytes.Ansi(at + 2, *count));
        at += 2 + length;
    }
    ReadExtraData(bytes, at, ansi, link);
    return link;
}

} // namespace qm
