#include "backup/AnsiCodePage.h"

#include "RegTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace qmtest;

TEST(AnsiCodePage, RefusesWhatTheCodePageCannotHoldExactly)
{
    const qm::AnsiCodePage codec;
    const std::wstring ascii = L"C:\\Progs\\app.exe /min";
    EXPECT_EQ(codec.Encode(ascii), std::string(ascii.begin(), ascii.end()));
    EXPECT_EQ(codec.Encode(L""), std::string());
    const std::wstring withNuls(L"a\0b\0", 4);
    ASSERT_TRUE(codec.Encode(withNuls));
    EXPECT_EQ(codec.Decode(*codec.Encode(withNuls)), withNuls);
    EXPECT_FALSE(codec.Encode(W(u"lone \xD800 surrogate")));
    if (GetACP() != CP_UTF8) {
        EXPECT_FALSE(codec.Encode(W(u"\U0001F600")));
    }
    if (GetACP() == 1252) {
        EXPECT_EQ(codec.Encode(W(u"Caf\u00e9 \u20ac")), std::string("Caf\xe9 \x80"));
        // Best fit would quietly turn these into A and the infinity sign into 8.
        EXPECT_FALSE(codec.Encode(W(u"\u0100")));
        EXPECT_FALSE(codec.Encode(W(u"\u221e")));
    }
}

TEST(AnsiCodePage, WritesThePlainBackupByteForByte)
{
    const qm::RegValue entry{W(kRunLm), L"My App", qm::kRegSz, Sz(u"C:\\Progs\\app.exe /min")};
    const auto bytes = qm::EncodeBackup({entry}, qm::AnsiCodePage());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "\"My App\"=\"C:\\\\Progs\\\\app.exe /min\"\r\n");
}
