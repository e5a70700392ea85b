#include "backup/BackupRestore.h"
#include "backup/BackupWriter.h"
#include "host/Application.h"
#include "host/Files.h"
#include "registry/RegistryAccess.h"
#include "registry/StartupApproved.h"
#include "support/MainWindowFixture.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <random>

namespace {

bool RunningOnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::vector<BYTE> Text(const std::wstring& text)
{
    const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {p, p + (text.size() + 1) * sizeof(wchar_t)};
}

template <typename T>
std::vector<BYTE> Raw(T value)
{
    std::vector<BYTE> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

// Entries of every kind a backup must carry: names with anything but CR, LF and NUL, data and
// StartupApproved values of any type and length. Half of them ASCII only, which makes a
// REGEDIT4 file.
class RandomEntries {
public:
    explicit RandomEntries(unsigned seed) : rng_(seed) {}

    struct Entry {
        std::wstring name;
        qm::RawValue value;
        std::optional<qm::RawValue> state;
    };

    Entry Next()
    {
        ascii_ = Below(2) == 0;
        Entry entry;
        if (Below(8) != 0)
            entry.name = (Below(4) == 0 ? L" " : L"") + Chars(1 + Below(12)) + (Below(4) == 0 ? L" " : L"");
        entry.value = Value();
        if (Below(2) == 0)
            entry.state = Value();
        return entry;
    }

private:
    size_t Below(size_t n) { return rng_() % n; }

    std::wstring Chars(size_t length)
    {
        static constexpr std::wstring_view kAscii = L"aZ9 \t\"\\=[]@;%-,.";
        static constexpr std::wstring_view kOther[] = {L"\u00e9", L"\u20ac", L"\u0416", L"\U0001F600"};
        std::wstring text;
        while (text.size() < length) {
            if (!ascii_ && Below(4) == 0)
                text += kOther[Below(std::size(kOther))];
            else
                text += kAscii[Below(kAscii.size())];
        }
        return text;
    }

    std::vector<BYTE> Bytes(size_t count)
    {
        std::vector<BYTE> bytes(count);
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(rng_());
        return bytes;
    }

    qm::RawValue Value()
    {
        static constexpr DWORD kTypes[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ,
            REG_QWORD, REG_DWORD_BIG_ENDIAN, 0x4000F};
        const DWORD type = kTypes[Below(std::size(kTypes))];
        switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return {type, Text(Chars(Below(30)) + (Below(4) == 0 ? L"\r\n" + Chars(3) : L""))};
        case REG_MULTI_SZ: {
            std::wstring list;
            for (size_t n = Below(4); n > 0; --n)
                list += Chars(Below(4)) + L'\0';
            return {type, Text(list)};
        }
        case REG_DWORD:
            return {type, Bytes(4)};
        case REG_QWORD:
            return {type, Bytes(8)};
        default:
            return {type, Bytes(Below(40))};
        }
    }

    std::mt19937 rng_;
    bool ascii_ = true;
};

// The awkward cases by name first (the default value, long and multi-line data).
std::vector<RandomEntries::Entry> NamedEntries()
{
    return {
        {L"QmRt My App", {REG_SZ, Text(L"C:\\Progs\\app.exe /min")}, {}},
        {L"QmRt quotes", {REG_SZ, Text(L"say \"hi\" to \\\\server\\share\\\"")}, {}},
        {L"   QmRt lead", {REG_SZ, Text(L"   lead data")}, {}},
        {L"QmRt expand", {REG_EXPAND_SZ, Text(L"%SystemRoot%\\x.exe")}, {}},
        {L"QmRt multi", {REG_MULTI_SZ, Text(std::wstring(L"a\0b c\0", 6))}, {}},
        {L"QmRt dword", {REG_DWORD, Raw<DWORD>(0x12345678)}, {}},
        {L"QmRt binary", {REG_BINARY, {0x00, 0x01, 0xFF, 0x80}}, {}},
        {L"QmRt qword", {REG_QWORD, Raw<unsigned long long>(0x0102030405060708ULL)}, {}},
        {L"", {REG_SZ, Text(L"default entry")}, {}},
        {L"QmRt \u041F\u0440\u0438\u0432\u0435\u0442", {REG_SZ, Text(L"\u041C\u0438\u0440")}, {}},
        {L"QmRt \U0001F600", {REG_SZ, Text(L"\U0001F680 go")}, {}},
        {L"QmRt long", {REG_SZ, Text(std::wstring(5000, L'x'))}, {}},
        {L"QmRt lines", {REG_SZ, Text(L"line1\r\nline2")}, {}},
    };
}

// The real registry editor runs in a process of its own, which a redirection of ours cannot
// reach: this test works on the current user's Run key of the private Wine prefix, with value
// names of its own, and removes them again.
class RegeditRoundTrip : public qmtest::MainWindowTest {
protected:
    RegeditRoundTrip() : MainWindowTest(false) {}
    ~RegeditRoundTrip() override
    {
        for (const auto& [key, name] : made_) {
            static_cast<void>(qm::DeleteValue(qm::RootKey(*key), key->subKey, name, key->view));
            static_cast<void>(qm::DeleteApprovedValue(*key, name));
        }
    }

    // Entries a test wrote, removed again however it ends.
    std::vector<std::pair<const qm::StartupKey*, std::wstring>> made_;
};

} // namespace

// What the writer saves, a restore takes back: any entry, with a StartupApproved value of any
// type, is saved, checked as a restore checks it, imported by the real registry editor and
// back byte for byte.
TEST_F(RegeditRoundTrip, RandomEntriesComeBackFromTheirBackupsByteForByte)
{
    if (!RunningOnWine())
        GTEST_SKIP() << "runs the registry editor of the private Wine prefix only";
    host_.runForReal = true;
    constexpr unsigned kSeed = 20261207;
    RandomEntries random(kSeed);
    std::vector<RandomEntries::Entry> entries = NamedEntries();
    for (int i = 0; i < 60; ++i)
        entries.push_back(random.Next());
    const qm::StartupKey* keys[] = {qm::FindStartupKeyByName(L"hkcu"), qm::FindStartupKeyByName(L"hklm32")};
    for (size_t i = 0; i < entries.size(); ++i) {
        const qm::StartupKey& key = *keys[i % 2];
        const auto& entry = entries[i];
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", case " + std::to_string(i) + ", name "
            + testing::PrintToString(entry.name));
        made_.emplace_back(&key, entry.name);
        ASSERT_TRUE(qm::WriteValueRaw(qm::RootKey(key), key.subKey, entry.name, entry.value, key.view, true));
        if (entry.state) {
            ASSERT_TRUE(qm::WriteValueRaw(qm::RootKey(key), key.approvedSubKey, entry.name, *entry.state, 0, true));
        }

        const auto saved = qm::WriteBackup(key, entry.name, {qm::App().Folder()});
        ASSERT_EQ(saved.status, qm::BackupStatus::Saved);
        ASSERT_TRUE(qm::DeleteValue(qm::RootKey(key), key.subKey, entry.name, key.view));
        ASSERT_TRUE(qm::DeleteApprovedValue(key, entry.name));
        const auto checked = qm::ReadStartupBackup(saved.path);
        ASSERT_TRUE(checked);
        EXPECT_FALSE(checked->dependsOnCodePage);
        ASSERT_TRUE(qm::ImportAndVerify(*checked));

        const auto back = qm::ReadValueRaw(qm::RootKey(key), key.subKey, entry.name, key.view);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->type, entry.value.type);
        EXPECT_EQ(back->data, entry.value.data);
        const auto state = qm::ReadApprovedValue(key, entry.name);
        ASSERT_EQ(state.has_value(), entry.state.has_value());
        if (state) {
            EXPECT_EQ(state->type, entry.state->type);
            EXPECT_EQ(state->data, entry.state->data);
        }
        EXPECT_TRUE(qm::DeleteValue(qm::RootKey(key), key.subKey, entry.name, key.view));
        EXPECT_TRUE(qm::DeleteApprovedValue(key, entry.name));
        EXPECT_TRUE(qm::DeleteFileAt(saved.path));
    }
}
