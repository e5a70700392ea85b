#include "RegistryTest.h"

namespace {

using qmtest::Bytes;
using qmtest::RegistryTest;

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<BYTE> Ansi(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<BYTE> Sz(const std::wstring& text)
{
    return Bytes(text + L'\0');
}

struct StoredValue {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
    std::wstring shown;
};

// The bytes are followed in memory by a character that is not NUL: the registry counts one
// NUL a caller left out of a string's size, and must have none to count here.
bool Store(HKEY root, const StoredValue& v)
{
    std::vector<BYTE> buffer = v.data;
    buffer.insert(buffer.end(), {'X', 0, 'X', 0});
    return qmtest::SetValue(root, kKey, v.name, v.type, buffer.data(), static_cast<DWORD>(v.data.size()));
}

std::vector<StoredValue> ValuesOfEveryKind()
{
    const std::wstring longText(5000, L'x');
    const std::wstring longName = std::wstring(300, L'n') + L"!";
    const DWORD dword = 0x00004241;
    const auto* dwordBytes = reinterpret_cast<const BYTE*>(&dword);
    return {
        {L"", REG_SZ, Sz(L"default entry"), L"default entry"},
        {L"  Leading", REG_SZ, Sz(L"   spaced.exe"), L"spaced.exe"},
        {L"Trailing  ", REG_SZ, Sz(L"tail.exe  "), L"tail.exe  "},
        {L"Программа 😀", REG_SZ, Sz(L"C:\\Путь\\😀.exe"), L"C:\\Путь\\😀.exe"},
        {L"Long", REG_SZ, Sz(longText), longText},
        {longName, REG_SZ, Sz(L"named at length"), L"named at length"},
        {L"Unterminated", REG_SZ, Bytes(L"no nul"), L"no nul"},
        {L"Empty", REG_SZ, {}, L""},
        {L"Expand", REG_EXPAND_SZ, Sz(L"%SystemRoot%\\x.exe"), L"%SystemRoot%\\x.exe"},
        {L"Multi", REG_MULTI_SZ, Bytes(std::wstring(L"first\0second\0\0", 15)), L"first"},
        {L"Dword", REG_DWORD, {dwordBytes, dwordBytes + sizeof dword}, L"AB"},
        {L"Binary", REG_BINARY, Ansi(std::string_view("  hi\0there", 10)), L"hi"},
        {L"Zero", REG_BINARY, {0, 65, 66}, L""},
    };
}

TEST_F(RegistryTest, ListingShowsEveryValueWholeAndEachCanBeRemovedByItsListedName)
{
    const auto values = ValuesOfEveryKind();
    std::map<std::wstring, std::wstring> expected;
    for (const auto& v : values) {
        ASSERT_TRUE(Store(HKEY_LOCAL_MACHINE, v));
        expected[v.name] = v.shown;
    }

    const auto listing = qmtest::ListKey(HKEY_LOCAL_MACHINE, kKey);
    EXPECT_EQ(listing, expected);
    for (const auto& [name, text] : listing)
        EXPECT_TRUE(qm::DeleteValue(HKEY_LOCAL_MACHINE, kKey, name)) << name.size();
    EXPECT_TRUE(qmtest::ListKey(HKEY_LOCAL_MACHINE, kKey).empty());
}

TEST_F(RegistryTest, ReadValueRawKeepsTypeAndBytesWhole)
{
    const std::vector<BYTE> big = [] {
        std::vector<BYTE> bytes(3000);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<BYTE>(i % 251);
        return bytes;
    }();
    const ULONGLONG qword = 0x0102030405060708ull;
    const auto* qwordBytes = reinterpret_cast<const BYTE*>(&qword);
    auto values = ValuesOfEveryKind();
    values.push_back({L"Big", REG_BINARY, big, {}});
    values.push_back({L"Qword", REG_QWORD, {qwordBytes, qwordBytes + sizeof qword}, {}});
    values.push_back({L"None", REG_NONE, {}, {}});
    for (const auto& v : values) {
        ASSERT_TRUE(Store(HKEY_CURRENT_USER, v));
        const auto raw = qm::ReadValueRaw(HKEY_CURRENT_USER, kKey, v.name);
        ASSERT_TRUE(raw) << v.name.size();
        EXPECT_EQ(raw->type, v.type) << v.name.size();
        EXPECT_EQ(raw->data, v.data) << v.name.size();
    }
    // What is not there reads as nothing, and is known to be missing.
    EXPECT_FALSE(qm::ReadValueRaw(HKEY_CURRENT_USER, kKey, L"Missing"));
    EXPECT_FALSE(qm::ReadValueRaw(HKEY_CURRENT_USER, L"Software\\Missing", L"Long"));
    EXPECT_TRUE(qm::ValueIsMissing(HKEY_CURRENT_USER, kKey, L"Missing"));
    EXPECT_TRUE(qm::ValueIsMissing(HKEY_CURRENT_USER, L"Software\\Missing", L"Long"));
    EXPECT_FALSE(qm::ValueIsMissing(HKEY_CURRENT_USER, kKey, L"Long"));
    EXPECT_FALSE(qm::DeleteValue(HKEY_CURRENT_USER, kKey, L"Missing"));
    const qm::RegKey key = qm::OpenKeyForRead(HKEY_CURRENT_USER, kKey);
    EXPECT_FALSE(qm::EnumValueRaw(key.Get(), qm::CountValues(key.Get())));
    EXPECT_EQ(qm::CountValues(nullptr), 0u);
}

} // namespace
