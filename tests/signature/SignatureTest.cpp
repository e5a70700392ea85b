#include "launch/Signature.h"

#include "SignatureFixtures.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <softpub.h>

#include <algorithm>
#include <cstdint>

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

TEST(SignatureTest, ADamagedProgramClaimsNoCompany)
{
    const auto program = qm::ReadWholeFile(FixturePath(L"first-translation.exe"));
    ASSERT_TRUE(program);
    const std::wstring name = L"CompanyName";
    const auto nameAt = std::search(program->begin(), program->end(), reinterpret_cast<const std::uint8_t*>(name.data()),
        reinterpret_cast<const std::uint8_t*>(name.data() + name.size()));
    ASSERT_NE(nameAt, program->end());
    const auto insideTheResource = static_cast<std::size_t>(nameAt - program->begin()) + name.size() * 2 + 6;
    const auto damaged = [&](std::size_t kept, std::size_t changedAt) {
        std::vector<std::uint8_t> bytes(program->begin(), program->begin() + static_cast<std::ptrdiff_t>(kept));
        if (changedAt < bytes.size())
            bytes[changedAt] ^= 0xFF;
        return bytes;
    };
    const std::size_t none = SIZE_MAX;
    const struct {
        const wchar_t* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {L"empty", {}},
        {L"text", {'@', 'e', 'c', 'h', 'o', ' ', 'o', 'f', 'f', '\r', '\n'}},
        {L"the DOS header alone", damaged(64, none)},
        {L"the headers alone", damaged(0x400, none)},
        {L"cut inside the version resource", damaged(insideTheResource, none)},
        {L"no PE signature", damaged(program->size(), (*program)[0x3C] + std::size_t{(*program)[0x3D]} * 256)},
    };
    const qmtest::ScratchFolder folder(L"Damaged");
    for (const auto& c : cases) {
        const std::wstring file = folder.Path() + L"\\" + c.what + L".exe";
        ASSERT_EQ(qm::WriteWholeFile(file, c.bytes), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(qm::ClaimedCompany(file), L"") << c.what;
        EXPECT_EQ(qm::CheckFile(file).company, L"") << c.what;
    }
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
