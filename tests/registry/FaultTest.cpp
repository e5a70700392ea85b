#include "RegistryTest.h"

#include <deque>
#include <optional>

namespace {

using qmtest::RegistryTest;

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Scripted answers for the enumeration of one value; the real registry answers once they run out.
std::deque<LSTATUS> enumScript;
std::wstring scriptedName;

LSTATUS WINAPI ScriptedEnum(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
    LPBYTE data, LPDWORD size)
{
    const DWORD capacity = size ? *size : 0;
    const LSTATUS status = qm::PlatformRegistry().enumValue(key, index, name, nameLength, reserved, type, data, size);
    if (status != ERROR_SUCCESS || scriptedName != name || enumScript.empty())
        return status;
    const LSTATUS scripted = enumScript.front();
    enumScript.pop_front();
    // Growing: each answer asks for more room than the caller just offered.
    if (scripted == ERROR_MORE_DATA && size)
        *size = capacity + 4096;
    return scripted;
}

TEST_F(RegistryTest, ValueThatChangesWhileItIsListedGivesWholeTextOrNothing)
{
    const std::wstring longText(2000, L'y');
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, kKey, L"Before", L"before.exe"));
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, kKey, L"Changing", longText));
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, kKey, L"After", L"after.exe"));

    const struct {
        const char* what;
        std::deque<LSTATUS> script;
        std::optional<std::wstring> read;
    } cases[] = {
        {"vanishes while it is read", {ERROR_NO_MORE_ITEMS}, std::nullopt},
        {"grows twice, then reads", {ERROR_MORE_DATA, ERROR_MORE_DATA}, longText},
        {"never stops growing", std::deque<LSTATUS>(100, ERROR_MORE_DATA), std::nullopt},
    };
    qm::RegistryApi api = qm::PlatformRegistry();
    api.enumValue = &ScriptedEnum;
    const qm::ScopedRegistryApi scoped(api);
    scriptedName = L"Changing";
    for (const auto& c : cases) {
        enumScript = c.script;
        auto listed = qmtest::ListKey(HKEY_LOCAL_MACHINE, kKey);
        const auto changing = listed.extract(L"Changing");
        EXPECT_EQ(changing ? std::optional(changing.mapped()) : std::nullopt, c.read) << c.what;
        EXPECT_EQ(listed, (std::map<std::wstring, std::wstring>{{L"Before", L"before.exe"}, {L"After", L"after.exe"}}))
            << c.what;
    }
    enumScript.clear();
}

// Counts keys the layer opens and closes, to show none is left open on any path.
int openKeys = 0;

LSTATUS WINAPI CountingOpen(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    const LSTATUS status = qm::PlatformRegistry().openKey(root, subKey, options, access, result);
    if (status == ERROR_SUCCESS)
        ++openKeys;
    return status;
}

LSTATUS WINAPI CountingClose(HKEY key)
{
    --openKeys;
    return qm::PlatformRegistry().closeKey(key);
}

LSTATUS WINAPI FailingSet(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)
{
    return ERROR_ACCESS_DENIED;
}

LSTATUS WINAPI FailingDelete(HKEY, LPCWSTR)
{
    return ERROR_ACCESS_DENIED;
}

TEST_F(RegistryTest, EveryKeyOpenedIsClosedWhetherTheOperationSucceedsOrNot)
{
    ASSERT_TRUE(qmtest::SetString(HKEY_LOCAL_MACHINE, kKey, L"Entry", L"entry.exe"));
    qm::RegistryApi counting = qm::PlatformRegistry();
    counting.openKey = &CountingOpen;
    counting.closeKey = &CountingClose;
    qm::RegistryApi failing = counting;
    failing.setValue = &FailingSet;
    failing.deleteValue = &FailingDelete;

    const struct {
        const char* what;
        const qm::RegistryApi& api;
        bool succeeds;
        bool (*operation)();
    } cases[] = {
        {"write", counting, true, [] { return qm::WriteValueRaw(HKEY_LOCAL_MACHINE, kKey, L"New", {REG_SZ, {'n', 0, 0, 0}}, 0, false); }},
        {"failed write", failing, false, [] { return qm::WriteValueRaw(HKEY_LOCAL_MACHINE, kKey, L"Entry", {REG_SZ, {'x', 0, 0, 0}}, 0, false); }},
        {"failed delete", failing, false, [] { return qm::DeleteValue(HKEY_LOCAL_MACHINE, kKey, L"Entry"); }},
        {"listing", counting, true, [] { return qmtest::ListKey(HKEY_LOCAL_MACHINE, kKey).size() == 2; }},
        {"raw read", counting, true, [] { return qm::ReadValueRaw(HKEY_LOCAL_MACHINE, kKey, L"Entry").has_value(); }},
    };
    for (const auto& c : cases) {
        const qm::ScopedRegistryApi scoped(c.api);
        openKeys = 0;
        EXPECT_EQ(c.operation(), c.succeeds) << c.what;
        EXPECT_EQ(openKeys, 0) << c.what;
    }
}

} // namespace
