#include "launch/Signature.h"

#include "SignatureFixtures.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <softpub.h>

namespace {

using qm::SignatureStatus;
using qmtest::FixturePath;

TEST(SignatureTest, EveryTrustResultHasItsStatus)
{
    // Wine says success for any root, so trust itself can only be tested on the codes.
    const struct {
        LONG result;
        SignatureStatus status;
    } cases[] = {
        {ERROR_SUCCESS, SignatureStatus::Verified},
        {TRUST_E_NOSIGNATURE, SignatureStatus::Unsigned},
        {TRUST_E_SUBJECT_FORM_UNKNOWN, SignatureStatus::Unsigned},
        {TRUST_E_BAD_DIGEST, SignatureStatus::Invalid},
        {CERT_E_EXPIRED, SignatureStatus::Invalid},
        {CERT_E_REVOKED, SignatureStatus::Invalid},
        {TRUST_E_EXPLICIT_DISTRUST, SignatureStatus::Invalid},
        {CERT_E_WRONG_USAGE, SignatureStatus::Invalid},
        {CERT_E_UNTRUSTEDROOT, SignatureStatus::Untrusted},
        {CERT_E_CHAINING, SignatureStatus::Untrusted},
        {TRUST_E_SUBJECT_NOT_TRUSTED, SignatureStatus::Untrusted},
        {CERT_E_REVOCATION_FAILURE, SignatureStatus::Untrusted},
        {CRYPT_E_ASN1_BADTAG, SignatureStatus::Invalid},
        {HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), SignatureStatus::NotChecked},
        {CRYPT_E_FILE_ERROR, SignatureStatus::NotChecked},
    };
    for (const auto& c : cases) {
        const qm::TrustVerdict verdict = qm::VerdictOfTrustResult(c.result);
        EXPECT_EQ(verdict.status, c.status) << std::hex << c.result;
        // The tooltip says why whenever the program is not vouched for by a signature.
        const bool explained = c.status != SignatureStatus::Verified && c.status != SignatureStatus::Unsigned;
        EXPECT_EQ(!verdict.reason.empty(), explained) << std::hex << c.result;
    }
    EXPECT_NE(qm::VerdictOfTrustResult(CERT_E_EXPIRED).reason, qm::VerdictOfTrustResult(CERT_E_REVOKED).reason);
    EXPECT_NE(qm::VerdictOfTrustResult(0x80091234).reason.find(L"0x80091234"), std::wstring::npos);
}

TEST(SignatureTest, FixturesAreVerifiedUnsignedOrInvalid)
{
    const struct {
        const wchar_t* file;
        SignatureStatus status;
        const wchar_t* signer;
    } cases[] = {
        {L"signed.exe", SignatureStatus::Verified, L"Quillmoor Test Signer"},
        {L"unsigned.exe", SignatureStatus::Unsigned, L""},
        // One byte changed after signing: the digest no longer matches, and no name is vouched for.
        {L"tampered.exe", SignatureStatus::Invalid, L""},
        {L"no-such-file.exe", SignatureStatus::NotChecked, L""},
    };
    for (const auto& c : cases) {
        const qm::FileSignature signature = qm::CheckFile(FixturePath(c.file));
        EXPECT_EQ(signature.status, c.status) << c.file;
        EXPECT_EQ(signature.signer, c.signer) << c.file;
    }
    EXPECT_EQ(qm::CheckFile(FixturePath(L"tampered.exe")).reason, qm::VerdictOfTrustResult(TRUST_E_BAD_DIGEST).reason);
}

TEST(SignatureTest, ASuccessThatNamesNoSignerVouchesForNothing)
{
    // With HKEY_LOCAL_MACHINE redirected Wine finds no trust provider, and still says success.
    const qmtest::RegistrySandbox sandbox(L"SignatureWithoutProvider");
    for (const wchar_t* file : {L"signed.exe", L"unsigned.exe"})
        EXPECT_EQ(qm::CheckFile(FixturePath(file)).status, SignatureStatus::NotChecked) << file;
}

TEST(SignatureTest, CompanyIsReadInTheFirstListedTranslationThenUsEnglish)
{
    EXPECT_EQ(qm::ClaimedCompany(FixturePath(L"first-translation.exe")), L"Erste Firma");
    EXPECT_EQ(qm::ClaimedCompany(FixturePath(L"us-english.exe")), L"Fallback Company");
    EXPECT_EQ(qm::ClaimedCompany(FixturePath(L"unsigned.exe")), L"");
    EXPECT_EQ(qm::ClaimedCompany(FixturePath(L"no-such-file.exe")), L"");
    // Signing leaves the claim alone.
    EXPECT_EQ(qm::CheckFile(FixturePath(L"first-translation.exe")).company, L"Erste Firma");
}

TEST(SignatureTest, CacheChecksAgainOnlyWhenSizeOrTimeChanged)
{
    const qmtest::ScratchFolder folder(L"Cache");
    const std::wstring file = folder.Path() + L"\\program.exe";
    ASSERT_TRUE(CopyFileW(FixturePath(L"signed.exe").c_str(), file.c_str(), FALSE));
    qm::SignatureCache cache;
    EXPECT_EQ(cache.Check(file).status, SignatureStatus::Verified);

    // Same size, same time: the damage is not seen, which proves the answer came from the cache.
    const FILETIME written = qmtest::LastWrite(file);
    ASSERT_TRUE(CopyFileW(FixturePath(L"tampered.exe").c_str(), file.c_str(), FALSE));
    qmtest::SetLastWrite(file, written);
    EXPECT_EQ(cache.Check(file).status, SignatureStatus::Verified);

    qmtest::SetLastWrite(file, written, 10);
    EXPECT_EQ(cache.Check(file).status, SignatureStatus::Invalid);

    ASSERT_TRUE(CopyFileW(FixturePath(L"unsigned.exe").c_str(), file.c_str(), FALSE));
    qmtest::SetLastWrite(file, written, 10);
    EXPECT_EQ(cache.Check(file).status, SignatureStatus::Unsigned);
}

} // namespace
