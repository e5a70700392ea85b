#pragma once

// Shell link files built part by part, as the shell writes them, for the tests of the reader and
// of the Startup folders.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace linkbytes {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void Put16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutUnicode(Bytes& out, std::u16string_view text)
{
    for (const char16_t c : text)
        Put16(out, c);
}

// A link built part by part, as the shell writes one.
struct Link {
    std::uint32_t flags = 0x80; // IsUnicode
    Bytes idList;
    Bytes linkInfo;
    Bytes strings;
    Bytes extra;

    Bytes Build() const
    {
        Bytes out;
        Put32(out, 0x4C);
        for (const std::uint8_t b : {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46})
            out.push_back(b);
        Put32(out, flags);
        out.resize(0x4C, 0);
        if (flags & 0x1) {
            Put16(out, static_cast<std::uint16_t>(idList.size()));
            out.insert(out.end(), idList.begin(), idList.end());
        }
        out.insert(out.end(), linkInfo.begin(), linkInfo.end());
        out.insert(out.end(), strings.begin(), strings.end());
        out.insert(out.end(), extra.begin(), extra.end());
        Put32(out, 0); // the terminal block
        return out;
    }
};

// LinkInfo with a local path in 8-bit text, or in UTF-16 as well (header of 0x24 bytes).
inline Bytes LocalInfo(const std::string& base, const std::string& suffix, std::u16string_view unicodeBase = {})
{
    const bool unicode = !unicodeBase.empty();
    const std::uint32_t header = unicode ? 0x24 : 0x1C;
    const std::uint32_t baseAt = header;
    const std::uint32_t suffixAt = baseAt + static_cast<std::uint32_t>(base.size()) + 1;
    const std::uint32_t unicodeAt = suffixAt + static_cast<std::uint32_t>(suffix.size()) + 1;
    const std::uint32_t unicodeSuffixAt = unicodeAt + 2 * static_cast<std::uint32_t>(unicodeBase.size() + 1);
    Bytes body;
    body.insert(body.end(), base.begin(), base.end());
    body.push_back(0);
    body.insert(body.end(), suffix.begin(), suffix.end());
    body.push_back(0);
    if (unicode) {
        PutUnicode(body, unicodeBase);
        Put16(body, 0);
        Put16(body, 0); // an empty UTF-16 suffix
    }
    Bytes info;
    Put32(info, header + static_cast<std::uint32_t>(body.size()));
    Put32(info, header);
    Put32(info, 1);   // a local path
    Put32(info, 0);   // no volume id
    Put32(info, baseAt);
    Put32(info, 0);   // no network part
    Put32(info, suffixAt);
    if (unicode) {
        Put32(info, unicodeAt);
        Put32(info, unicodeSuffixAt);
    }
    info.insert(info.end(), body.begin(), body.end());
    return info;
}

// LinkInfo of a share and a suffix, both 8-bit.
inline Bytes NetworkInfo(const std::string& share, const std::string& suffix)
{
    const std::uint32_t header = 0x1C;
    Bytes network;
    Put32(network, 0x14 + static_cast<std::uint32_t>(share.size()) + 1);
    Put32(network, 0);
    Put32(network, 0x14); // the share's name follows the fields
    Put32(network, 0);
    Put32(network, 0);
    network.insert(network.end(), share.begin(), share.end());
    network.push_back(0);
    Bytes info;
    Put32(info, header + static_cast<std::uint32_t>(network.size() + suffix.size() + 1));
    Put32(info, header);
    Put32(info, 2);
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, header);
    Put32(info, header + static_cast<std::uint32_t>(network.size()));
    info.insert(info.end(), network.begin(), network.end());
    info.insert(info.end(), suffix.begin(), suffix.end());
    info.push_back(0);
    return info;
}

inline Bytes String(std::u16string_view text)
{
    Bytes out;
    Put16(out, static_cast<std::uint16_t>(text.size()));
    PutUnicode(out, text);
    return out;
}

// An environment-variable (0xA0000001) or installer (0xA0000006) block.
inline Bytes PathBlock(std::uint32_t signature, const std::string& ansi, std::u16string_view unicode)
{
    Bytes out;
    Put32(out, 0x314);
    Put32(out, signature);
    Bytes narrow(260, 0);
    std::copy(ansi.begin(), ansi.end(), narrow.begin());
    out.insert(out.end(), narrow.begin(), narrow.end());
    Bytes wide;
    PutUnicode(wide, unicode);
    wide.resize(520, 0);
    out.insert(out.end(), wide.begin(), wide.end());
    return out;
}

template <typename... Parts>
Bytes Join(const Parts&... parts)
{
    Bytes out;
    (out.insert(out.end(), parts.begin(), parts.end()), ...);
    return out;
}

// A link to a local file, with arguments or without.
inline Bytes LocalLink(const std::string& target, std::u16string_view arguments = {})
{
    Link link;
    link.flags = 0x2 | 0x80 | (arguments.empty() ? 0 : 0x20);
    link.linkInfo = LocalInfo(target, "");
    link.strings = arguments.empty() ? Bytes{} : String(arguments);
    return link.Build();
}

} // namespace linkbytes
