#pragma once

#include "registry/RegistryAccess.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace qmtest {

// Every registry test runs in its own sandbox with scripted message boxes.
class RegistryTest : public ::testing::Test {
protected:
    static std::wstring TestName()
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return std::wstring(name.begin(), name.end());
    }

    RegistrySandbox sandbox{TestName()};
    ScriptedHost host;
};

// What the main window lists for a key, read as its listing reads it: name to text.
inline std::map<std::wstring, std::wstring> ListKey(HKEY root, const std::wstring& subKey)
{
    std::map<std::wstring, std::wstring> listed;
    for (const qm::ValueText& value : qm::ReadValueTexts(qm::OpenKeyForRead(root, subKey).Get()))
        listed[value.name] = value.text;
    return listed;
}

inline std::vector<BYTE> Bytes(const std::wstring& text)
{
    const auto* p = reinterpret_cast<const BYTE*>(text.data());
    return {p, p + text.size() * sizeof(wchar_t)};
}

} // namespace qmtest
