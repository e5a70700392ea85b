#include "cli/Listing.h"
#include "registry/StartupLocations.h"
#include "support/RegistrySandbox.h"

#include "SignatureFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using qm::cli::Cell;

struct Shown {
    std::wstring company;
    std::wstring signer;
    std::wstring signature; // "(null)" for no value
};

std::wstring Text(const Cell& cell)
{
    if (const auto* text = std::get_if<std::wstring>(&cell))
        return *text;
    return std::holds_alternative<qm::cli::NoValue>(cell) ? L"(null)" : L"(bool)";
}

std::map<std::wstring, Shown> Listed(bool verify)
{
    std::vector<const qm::StartupKey*> unreadable;
    const qm::cli::Records records = qm::cli::EntryRecords({qm::FindStartupKeyByName(L"hkcu")}, verify, unreadable);
    EXPECT_TRUE(unreadable.empty());
    const std::vector<std::wstring> tail(records.fields.end() - 3, records.fields.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{L"company", L"signer", L"signature"}));
    const auto column = [&records](const wchar_t* field) {
        return static_cast<std::size_t>(std::find_if(records.fields.begin(), records.fields.end(),
            [field](const wchar_t* f) { return std::wstring(f) == field; }) - records.fields.begin());
    };
    std::map<std::wstring, Shown> shown;
    for (const auto& row : records.rows)
        shown[Text(row[column(L"name")])] = {Text(row[column(L"company")]), Text(row[column(L"signer")]),
            Text(row[column(L"signature")])};
    return shown;
}

class ListVerifyTest : public testing::Test {
protected:
    ListVerifyTest()
    {
        const struct {
            const wchar_t* name;
            std::wstring command;
        } entries[] = {
            {L"Signed", L"\"" + qmtest::FixturePath(L"signed.exe") + L"\" /background"},
            {L"Signed again", qmtest::FixturePath(L"signed.exe")},
            {L"Unsigned", qmtest::FixturePath(L"unsigned.exe")},
            {L"Tampered", qmtest::FixturePath(L"tampered.exe")},
            {L"Company", qmtest::FixturePath(L"first-translation.exe")},
            {L"Gone", L"C:\\QmNoSuchFolder\\gone.exe"},
        };
        for (const auto& entry : entries)
            qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, entry.name, entry.command);
    }

    qmtest::RegistrySandbox sandbox_{L"ListVerify", qmtest::RegistrySandbox::Roots::UsersOnly};
};

TEST_F(ListVerifyTest, VerifyFillsSignatureAndSignerOfEveryRow)
{
    const std::map<std::wstring, Shown> shown = Listed(true);
    const std::map<std::wstring, std::pair<std::wstring, std::wstring>> expected = {
        {L"Signed", {L"Quillmoor Test Signer", L"verified"}},
        {L"Signed again", {L"Quillmoor Test Signer", L"verified"}},
        {L"Unsigned", {L"", L"unsigned"}},
        {L"Tampered", {L"", L"invalid"}},
        {L"Company", {L"", L"unsigned"}},
        {L"Gone", {L"", L"not checked"}},
    };
    ASSERT_EQ(shown.size(), expected.size());
    for (const auto& [name, want] : expected) {
        EXPECT_EQ(shown.at(name).signer, want.first) << name;
        EXPECT_EQ(shown.at(name).signature, want.second) << name;
    }
    EXPECT_EQ(shown.at(L"Company").company, L"Erste Firma");
}

TEST_F(ListVerifyTest, WithoutVerifyOnlyTheCompanyIsRead)
{
    for (const auto& [name, row] : Listed(false)) {
        EXPECT_EQ(row.signature, L"(null)") << name;
        EXPECT_EQ(row.signer, L"") << name;
        EXPECT_EQ(row.company, name == L"Company" ? L"Erste Firma" : L"") << name;
    }
}

} // namespace
