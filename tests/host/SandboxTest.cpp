#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

// The sandbox is what keeps every other test away from the machine's startup keys.
TEST(RegistrySandbox, RedirectsTheThreeRootsAndCleansUp)
{
    std::wstring path;
    {
        qmtest::RegistrySandbox sandbox(L"SandboxSelfTest");
        path = sandbox.Path();
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS}) {
            ASSERT_TRUE(qmtest::SetString(root, qmtest::kRunKey, L"probe", L"x"));
            HKEY behind = nullptr;
            ASSERT_EQ(RegOpenKeyExW(sandbox.Scratch(root), qmtest::kRunKey, 0, KEY_READ, &behind), ERROR_SUCCESS);
            EXPECT_EQ(RegQueryValueExW(behind, L"probe", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
            RegCloseKey(behind);
        }
    }
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
    EXPECT_FALSE(qmtest::ValueExists(HKEY_CURRENT_USER, qmtest::kRunKey, L"probe"));
}
