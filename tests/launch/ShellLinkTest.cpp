#include "launch/ShellLink.h"

#include "../backup/RegTestSupport.h"
#include "LinkBytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace linkbytes;

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
