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

// What the main window shows for a key, read the way its listing reads it: one enumeration
// call per index, an unreadable value as an empty pair.
struct Listing {
    std::vector<std::wstring> names;
    std::vector<std::wstring> texts;

    std::map<std::wstring, std::wstring> AsMap() const
    {
        std::map<std::wstring, std::wstring> map;
        for (std::size_t i = 0; i < names.size() && i < texts.size(); ++i)
            map[names[i]] = texts[i];
        return map;
    }
};

inline Listing ListKey(HKEY root, const std::wstring& subKey)
{
    Listing listing;
    const qm::RegKey key = qm::OpenKeyForRead(root, subKey);
    const DWORD count = qm::CountValues(key.Get());
    for (DWORD i = 0; i < count; ++i) {
        const auto value = qm::EnumValueText(key.Get(), i);
        listing.names.push_back(value ? value->name : std::wstring());
        listing.texts.push_back(value ? value->text : std::wstring());
    }
    return listing;
}

inline std::vector<BYTE> Bytes(const std::wstring& text)
{
    const auto* p = reinterpret_cast<const BYTE*>(text.data());
    return {p, p + text.size() * sizeof(wchar_t)};
}

} // namespace qmtest
