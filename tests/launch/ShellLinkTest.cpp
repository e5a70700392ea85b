#include "launch/ShellLink.h"

#include "../backup/RegTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutUnicode(Bytes& out, std::u16string_view text)
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
Bytes LocalInfo(const std::string& base, const std::string& suffix, std::u16string_view unicodeBase = {})
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
Bytes NetworkInfo(const std::string& share, const std::string& suffix)
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

Bytes String(std::u16string_view text)
{
    Bytes out;
    Put16(out, static_cast<std::uint16_t>(text.size()));
    PutUnicode(out, text);
    return out;
}

// An environment-variable (0xA0000001) or installer (0xA0000006) block.
Bytes PathBlock(std::uint32_t signature, const std::string& ansi, std::u16string_view unicode)
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

std::wstring Describe(const qm::ShellLink& l)
{
    return L"local=" + l.localPath + L"|net=" + l.networkPath + L"|rel=" + l.relativePath + L"|dir=" + l.workingFolder +
           L"|args=" + l.arguments + L"|env=" + l.environmentTarget + L"|darwin=" + l.darwinId +
           (l.hasIdList ? L"|ids" : L"");
}

} // namespace

TEST(ShellLink, EachWayOfNamingATargetIsRead)
{
    const qmtest::Cp1252Codec cp1252;
    struct Case {
        const char* what;
        std::function<Link()> make;
        std::wstring expected;
    };
    const Case cases[] = {
        {"8-bit local path, item list, arguments",
            [] {
                Link l;
                l.flags = 0x1 | 0x2 | 0x20 | 0x80;
                l.idList = {2, 0, 0, 0};
                l.linkInfo = LocalInfo("C:\\Tools", "app.exe");
                l.strings = String(u"/min --tray");
                return l;
            },
            L"local=C:\\Tools\\app.exe|net=|rel=|dir=|args=/min --tray|env=|darwin=|ids"},
        {"UTF-16 local path wins over its 8-bit twin, code page 1252 for the rest",
            [] {
                Link l;
                l.flags = 0x2 | 0x80;
                l.linkInfo = LocalInfo("C:\\Caf\xE9\\x.exe", "", u"C:\\\u041C\u0438\u0440\\x.exe");
                return l;
            },
            L"local=C:\\\u041C\u0438\u0440\\x.exe|net=|rel=|dir=|args=|env=|darwin="},
        {"a share",
            [] {
                Link l;
                l.flags = 0x2 | 0x80;
                l.linkInfo = NetworkInfo("\\\\server\\tools", "run.cmd");
                return l;
            },
            L"local=|net=\\\\server\\tools\\run.cmd|rel=|dir=|args=|env=|darwin="},
        {"relative path and working folder, 8-bit strings",
            [] {
                Link l;
                l.flags = 0x8 | 0x10 | 0x4;
                l.strings = Join(Bytes{4, 0, 'N', 'a', 'm', 'e'}, Bytes{9, 0, '.', '.', '\\', 'a', 0xE9, '.', 'e', 'x', 'e'},
                    Bytes{4, 0, 'C', ':', '\\', 'w'});
                return l;
            },
            L"local=|net=|rel=..\\a\u00E9.exe|dir=C:\\w|args=|env=|darwin="},
        {"only an environment-variable block",
            [] {
                Link l;
                l.extra = PathBlock(0xA0000001, "%windir%\\old.exe", u"%windir%\\system32\\cmd.exe");
                return l;
            },
            L"local=|net=|rel=|dir=|args=|env=%windir%\\system32\\cmd.exe|darwin="},
        {"an installer-advertised link, 8-bit descriptor only",
            [] {
                Link l;
                l.extra = PathBlock(0xA0000006, "w_Kj5b8s?Fd!k-{Product}", u"");
                return l;
            },
            L"local=|net=|rel=|dir=|args=|env=|darwin=w_Kj5b8s?Fd!k-{Product}"},
        {"a damaged last block leaves what came before",
            [] {
                Link l;
                l.extra = Join(PathBlock(0xA0000001, "", u"%ProgramFiles%\\t.exe"), Bytes{0x40, 0, 0, 0, 1, 0, 0, 0});
                return l;
            },
            L"local=|net=|rel=|dir=|args=|env=%ProgramFiles%\\t.exe|darwin="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes bytes = c.make().Build();
        const auto link = qm::ParseShellLink(bytes, cp1252);
        ASSERT_TRUE(link);
        EXPECT_EQ(Describe(*link), c.expected);
        // Cut anywhere before its strings end, the same link is refused or read without a fault.
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            const auto part = qm::ParseShellLink(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)), cp1252);
            EXPECT_TRUE(cut >= 0x4C || !part) << cut;
        }
    }
    Bytes notALink = Link{}.Build();
    notALink[4] = 0x02;
    EXPECT_FALSE(qm::ParseShellLink(notALink, cp1252));
    Link pastTheEnd;
    pastTheEnd.flags = 0x2 | 0x80;
    pastTheEnd.linkInfo = LocalInfo("C:\\x", "y");
    Bytes overlong = pastTheEnd.Build();
    overlong[0x4C] = 0xFF; // LinkInfo claims more bytes than the file has
    EXPECT_FALSE(qm::ParseShellLink(overlong, cp1252));
}
