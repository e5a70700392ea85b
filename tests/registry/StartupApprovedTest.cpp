#include "RegistryTest.h"
#include "registry/StartupApproved.h"

namespace {

using qmtest::RegistryTest;

const qm::StartupKey& Hkcu()
{
    return *qm::FindStartupKeyByName(L"hkcu");
}

std::vector<BYTE> Status(BYTE status)
{
    return {status, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
}

TEST_F(RegistryTest, EachStatusValueReadsAsTaskManagerMeansIt)
{
    const struct {
        const wchar_t* name;
        std::vector<BYTE> value;
        bool disabled;
    } cases[] = {
        {L"Two", Status(2), false},
        {L"Three", Status(3), true},
        {L"Seven", Status(7), true},
        {L"Short", {3}, true},
        {L"Empty", {}, false},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(qm::WriteValueRaw(HKEY_CURRENT_USER, Hkcu().approvedSubKey, c.name, {REG_BINARY, c.value}, 0, true));
    const auto disabled = qm::DisabledEntries::Read(Hkcu());
    for (const auto& c : cases)
        EXPECT_EQ(disabled.Contains(c.name), c.disabled) << testing::PrintToString(std::wstring(c.name));
    // The registry's names know no case; no value at all means enabled.
    EXPECT_TRUE(disabled.Contains(L"sEVEN"));
    EXPECT_FALSE(disabled.Contains(L"Missing"));
    EXPECT_FALSE(qm::DisabledEntries::Read(*qm::FindStartupKeyByName(L"hku-default")).Contains(L"Three"));
}

TEST_F(RegistryTest, DisableAndEnableWriteTheBytesTaskManagerWrites)
{
    FILETIME before{};
    GetSystemTimeAsFileTime(&before);
    const auto time = [](const std::vector<BYTE>& bytes) {
        unsigned long long value = 0;
        for (int i = 11; i >= 4; --i)
            value = value << 8 | bytes[static_cast<size_t>(i)];
        return value;
    };
    // The key is created on the first write.
    ASSERT_TRUE(qm::SetStartupEnabled(Hkcu(), L"Tool", false));
    const auto off = qm::ReadApprovedValue(Hkcu(), L"Tool");
    ASSERT_TRUE(off);
    EXPECT_EQ(off->type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(off->data.size(), 12u);
    EXPECT_EQ(std::vector<BYTE>(off->data.begin(), off->data.begin() + 4), (std::vector<BYTE>{3, 0, 0, 0}));
    EXPECT_GE(time(off->data), (static_cast<unsigned long long>(before.dwHighDateTime) << 32) | before.dwLowDateTime);

    ASSERT_TRUE(qm::SetStartupEnabled(Hkcu(), L"Tool", true));
    EXPECT_EQ(qm::ReadApprovedValue(Hkcu(), L"Tool")->data, (std::vector<BYTE>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

} // namespace
