#include "launch/Signature.h"

#include "host/Handles.h"
#include "host/SystemLibrary.h"
#include "launch/VersionResource.h"

#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
#include <mscat.h>

#include <array>
#include <cwchar>
#include <mutex>
#include <optional>
#include <vector>

namespace qm {

namespace {

constexpr wchar_t kWintrust[] = L"wintrust.dll";
constexpr wchar_t kCrypt32[] = L"crypt32.dll";

struct ResultMeaning {
    LONG result;
    SignatureStatus status;
    const wchar_t* reason;
};

// Revocation is never checked (no network), so CERT_E_REVOKED comes only from a local list.
constexpr std::array<ResultMeaning, 23> kResultMeanings = {{
    {ERROR_SUCCESS, SignatureStatus::Verified, L""},
    {TRUST_E_NOSIGNATURE, SignatureStatus::Unsigned, L""},
    {TRUST_E_SUBJECT_FORM_UNKNOWN, SignatureStatus::Unsigned, L""},
    {TRUST_E_PROVIDER_UNKNOWN, SignatureStatus::Unsigned, L""},
    {TRUST_E_BAD_DIGEST, SignatureStatus::Invalid, L"the file was changed after it was signed"},
    {CERT_E_EXPIRED, SignatureStatus::Invalid, L"the certificate has expired"},
    {CERT_E_VALIDITYPERIODNESTING, SignatureStatus::Invalid, L"the certificate has expired"},
    {CERT_E_REVOKED, SignatureStatus::Invalid, L"the certificate was revoked"},
    {TRUST_E_EXPLICIT_DISTRUST, SignatureStatus::Invalid, L"the certificate is marked as not to be trusted"},
    {TRUST_E_CERT_SIGNATURE, SignatureStatus::Invalid, L"a certificate's own signature is wrong"},
    {TRUST_E_NO_SIGNER_CERT, SignatureStatus::Invalid, L"the signer's certificate is missing"},
    {TRUST_E_TIME_STAMP, SignatureStatus::Invalid, L"the time stamp is wrong"},
    {CERT_E_WRONG_USAGE, SignatureStatus::Invalid, L"the certificate is not for signing code"},
    {CERT_E_PURPOSE, SignatureStatus::Invalid, L"the certificate is not for signing code"},
    {CERT_E_MALFORMED, SignatureStatus::Invalid, L"a certificate is malformed"},
    {TRUST_E_BASIC_CONSTRAINTS, SignatureStatus::Invalid, L"a certificate may not issue others"},
    {CERT_E_UNTRUSTEDROOT, SignatureStatus::Untrusted, L"the root certificate is not trusted"},
    {CERT_E_UNTRUSTEDTESTROOT, SignatureStatus::Untrusted, L"the root certificate is a test root"},
    {CERT_E_CHAINING, SignatureStatus::Untrusted, L"the certificate chains to no trusted root"},
    {CERT_E_UNTRUSTEDCA, SignatureStatus::Untrusted, L"a certificate authority is not trusted"},
    {TRUST_E_SUBJECT_NOT_TRUSTED, SignatureStatus::Untrusted, L"the signature is not trusted"},
    {CRYPT_E_SECURITY_SETTINGS, SignatureStatus::Untrusted, L"the system's settings do not trust it"},
    {CERT_E_REVOCATION_FAILURE, SignatureStatus::Untrusted, L"whether the certificate was revoked is not known"},
}};

using WinVerifyTrustFunction = decltype(&WinVerifyTrust);

// A verification's state, closed with a second call as WinVerifyTrust requires.
class TrustCheck {
public:
    TrustCheck(WinVerifyTrustFunction verify, WINTRUST_DATA& data) : verify_(verify), data_(data)
    {
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        result_ = verify_(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
    }
    ~TrustCheck()
    {
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        verify_(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
    }
    TrustCheck(const TrustCheck&) = delete;
    TrustCheck& operator=(const TrustCheck&) = delete;

    LONG Result() const { return result_; }
    HANDLE State() const { return data_.hWVTStateData; }

private:
    WinVerifyTrustFunction verify_;
    WINTRUST_DATA& data_;
    LONG result_ = 0;
};

WINTRUST_DATA QuietTrustData()
{
    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    // A revocation server may take many seconds to answer, or never: nothing goes to the network.
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    return data;
}

std::wstring NameAttribute(PCCERT_CONTEXT certificate, const char* oid)
{
    static const auto getName = SystemFunction<decltype(&CertGetNameStringW)>(kCrypt32, "CertGetNameStringW");
    if (!getName)
        return {};
    wchar_t name[256];
    const DWORD length = getName(certificate, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(oid), name, std::size(name));
    return length > 1 ? std::wstring(name, length - 1) : std::wstring();
}

// The signing certificate's name; nullopt when the verification holds no signer at all.
std::optional<std::wstring> SignerName(HANDLE state)
{
    static const auto providerData =
        SystemFunction<decltype(&WTHelperProvDataFromStateData)>(kWintrust, "WTHelperProvDataFromStateData");
    static const auto signerOf =
        SystemFunction<decltype(&WTHelperGetProvSignerFromChain)>(kWintrust, "WTHelperGetProvSignerFromChain");
    CRYPT_PROVIDER_DATA* data = providerData && signerOf ? providerData(state) : nullptr;
    CRYPT_PROVIDER_SGNR* signer = data ? signerOf(data, 0, FALSE, 0) : nullptr;
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain || !signer->pasCertChain[0].pCert)
        return std::nullopt;
    for (const char* oid : {szOID_COMMON_NAME, szOID_ORGANIZATION_NAME, szOID_ORGANIZATIONAL_UNIT_NAME}) {
        if (std::wstring name = NameAttribute(signer->pasCertChain[0].pCert, oid); !name.empty())
            return name;
    }
    return {};
}

FileSignature Verdict(WinVerifyTrustFunction verify, WINTRUST_DATA& data)
{
    const TrustCheck check(verify, data);
    TrustVerdict verdict = VerdictOfTrustResult(check.Result());
    FileSignature signature{verdict.status, {}, std::move(verdict.reason), {}};
    if (signature.status != SignatureStatus::Verified)
        return signature;
    // Wine answers success when it cannot load the trust provider at all (measured with the
    // registry redirected): a success without a signer vouches for nothing.
    if (auto signer = SignerName(check.State()))
        signature.signer = std::move(*signer);
    else
        signature = {SignatureStatus::NotChecked, {}, L"the system named no signer", {}};
    return signature;
}

// The catalog functions. The version-2 ones (SHA-256) are looked up by name: Wine 8 exports
// no CryptCATAdminCalcHashFromFileHandle2, and an import of it would stop the program loading.
struct CatalogFunctions {
    decltype(&CryptCATAdminAcquireContext2) acquire2 = SystemFunction<decltype(acquire2)>(kWintrust, "CryptCATAdminAcquireContext2");
    decltype(&CryptCATAdminCalcHashFromFileHandle2) hash2 =
        SystemFunction<decltype(hash2)>(kWintrust, "CryptCATAdminCalcHashFromFileHandle2");
    decltype(&CryptCATAdminAcquireContext) acquire = SystemFunction<decltype(acquire)>(kWintrust, "CryptCATAdminAcquireContext");
    decltype(&CryptCATAdminCalcHashFromFileHandle) hash =
        SystemFunction<decltype(hash)>(kWintrust, "CryptCATAdminCalcHashFromFileHandle");
    decltype(&CryptCATAdminReleaseContext) release = SystemFunction<decltype(release)>(kWintrust, "CryptCATAdminReleaseContext");
    decltype(&CryptCATAdminEnumCatalogFromHash) find =
        SystemFunction<decltype(find)>(kWintrust, "CryptCATAdminEnumCatalogFromHash");
    decltype(&CryptCATAdminReleaseCatalogContext) releaseCatalog =
        SystemFunction<decltype(releaseCatalog)>(kWintrust, "CryptCATAdminReleaseCatalogContext");
    decltype(&CryptCATCatalogInfoFromContext) info = SystemFunction<decltype(info)>(kWintrust, "CryptCATCatalogInfoFromContext");

    bool Usable() const { return acquire && hash && release && find && releaseCatalog && info; }
};

const CatalogFunctions& Catalogs()
{
    static const CatalogFunctions functions;
    return functions;
}

class CatalogAdmin {
public:
    // SHA-256 where the system has it, else SHA-1.
    CatalogAdmin()
    {
        const CatalogFunctions& f = Catalogs();
        GUID action = DRIVER_ACTION_VERIFY;
        sha256_ = f.acquire2 && f.hash2 && f.acquire2(&admin_, &action, L"SHA256", nullptr, 0);
        if (!sha256_ && !f.acquire(&admin_, &action, 0))
            admin_ = nullptr;
    }
    ~CatalogAdmin()
    {
        if (admin_)
            Catalogs().release(admin_, 0);
    }
    CatalogAdmin(const CatalogAdmin&) = delete;
    CatalogAdmin& operator=(const CatalogAdmin&) = delete;

    HCATADMIN Get() const { return admin_; }
    bool Sha256() const { return sha256_; }

private:
    HCATADMIN admin_ = nullptr;
    bool sha256_ = false;
};

class CatalogContext {
public:
    CatalogContext(HCATADMIN admin, HCATINFO info) : admin_(admin), info_(info) {}
    ~CatalogContext()
    {
        if (info_)
            Catalogs().releaseCatalog(admin_, info_, 0);
    }
    CatalogContext(const CatalogContext&) = delete;
    CatalogContext& operator=(const CatalogContext&) = delete;

    HCATINFO Get() const { return info_; }

private:
    HCATADMIN admin_;
    HCATINFO info_;
};

// Whether the folder of the catalogs DRIVER_ACTION_VERIFY searches holds any. A Wine prefix
// holds none, and there a lookup would hash the whole file and then search an empty folder.
// Searching the folder costs as much under Wine, so it is searched again only when its
// last-write time, which every catalog added or removed changes, is not the one seen before.
// The name is spelt in Wine's case: Windows ignores case, while Wine finds a name in another
// case only by reading the whole system folder (0.6 ms a look).
bool AnyCatalogInstalled()
{
    struct Seen {
        std::mutex mutex;
        std::wstring folder;
        std::optional<FILETIME> written;
        bool any = true;
    };
    // Never freed: a worker thread may still ask while the process ends.
    static Seen& seen = *[] {
        auto* made = new Seen;
        wchar_t system[MAX_PATH];
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            made->folder = std::wstring(system, length) + L"\\catroot\\{f750e6c3-38ee-11d1-85e5-00c04fc295ee}";
        return made;
    }();
    WIN32_FILE_ATTRIBUTE_DATA folder{};
    if (seen.folder.empty() || !GetFileAttributesExW(seen.folder.c_str(), GetFileExInfoStandard, &folder)) {
        const DWORD error = GetLastError();
        return seen.folder.empty() || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND);
    }
    const std::lock_guard lock(seen.mutex);
    if (seen.written && CompareFileTime(&*seen.written, &folder.ftLastWriteTime) == 0)
        return seen.any;
    WIN32_FIND_DATAW found;
    const UniqueFind first(FindFirstFileExW((seen.folder + L"\\*.cat").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    // Only "no such file" says there is none; any other failure leaves the lookup to the system.
    seen.any = first || GetLastError() != ERROR_FILE_NOT_FOUND;
    seen.written = folder.ftLastWriteTime;
    return seen.any;
}

// The signature of the system catalog that lists the file's hash; nullopt when none does.
std::optional<FileSignature> CatalogSignature(WinVerifyTrustFunction verify, const std::wstring& path, HANDLE file)
{
    const CatalogFunctions& f = Catalogs();
    if (!f.Usable() || !AnyCatalogInstalled())
        return std::nullopt;
    const CatalogAdmin admin;
    if (!admin.Get())
        return std::nullopt;
    std::array<BYTE, 64> hash{};
    DWORD hashSize = hash.size();
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const bool hashed = admin.Sha256() ? f.hash2(admin.Get(), file, &hashSize, hash.data(), 0) != FALSE
                                       : f.hash(file, &hashSize, hash.data(), 0) != FALSE;
    if (!hashed)
        return std::nullopt;
    const CatalogContext catalog(admin.Get(), f.find(admin.Get(), hash.data(), hashSize, 0, nullptr));
    CATALOG_INFO info{};
    info.cbStruct = sizeof(info);
    if (!catalog.Get() || !f.info(catalog.Get(), &info, 0))
        return std::nullopt;
    std::wstring memberTag;
    for (DWORD i = 0; i < hashSize; ++i) {
        wchar_t digits[3];
        std::swprintf(digits, std::size(digits), L"%02X", hash[i]);
        memberTag += digits;
    }
    WINTRUST_CATALOG_INFO member{};
    member.cbStruct = sizeof(member);
    member.pcwszCatalogFilePath = info.wszCatalogFile;
    member.pcwszMemberTag = memberTag.c_str();
    member.pcwszMemberFilePath = path.c_str();
    member.hMemberFile = file;
    member.pbCalculatedFileHash = hash.data();
    member.cbCalculatedFileHash = hashSize;
    member.hCatAdmin = admin.Sha256() ? admin.Get() : nullptr;
    WINTRUST_DATA data = QuietTrustData();
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pCatalog = &member;
    return Verdict(verify, data);
}

UniqueFile OpenToRead(const std::wstring& path)
{
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads at an offset of its own, so the trust check sharing the handle may move its pointer.
std::wstring CompanyOfFile(HANDLE file)
{
    const ReadFileBytes read = [file](std::uint64_t offset, std::size_t count) {
        std::vector<std::uint8_t> bytes(count);
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD done = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(count), &done, &at))
            done = 0;
        bytes.resize(done);
        return bytes;
    };
    return CompanyInVersionInfo(ReadVersionResource(read, GetUserDefaultUILanguage()));
}

} // namespace

const wchar_t* SignatureStatusName(SignatureStatus status)
{
    switch (status) {
    case SignatureStatus::Verified: return L"verified";
    case SignatureStatus::Unsigned: return L"unsigned";
    case SignatureStatus::Invalid: return L"invalid";
    case SignatureStatus::Untrusted: return L"untrusted";
    case SignatureStatus::NotChecked: break;
    }
    return L"not checked";
}

TrustVerdict VerdictOfTrustResult(LONG result)
{
    for (const ResultMeaning& meaning : kResultMeanings) {
        if (meaning.result == result)
            return {meaning.status, meaning.reason};
    }
    wchar_t code[32];
    std::swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(result));
    // A system error (a file that could not be read) says nothing of the signature itself.
    if (HRESULT_FACILITY(result) == FACILITY_WIN32 || result == CRYPT_E_FILE_ERROR)
        return {SignatureStatus::NotChecked, std::wstring(L"the file could not be read (") + code + L")"};
    return {SignatureStatus::Invalid, std::wstring(L"the signature could not be read (") + code + L")"};
}

std::wstring ClaimedCompany(const std::wstring& path)
{
    const UniqueFile file = OpenToRead(path);
    return file ? CompanyOfFile(file.get()) : std::wstring();
}

FileSignature CheckFile(const std::wstring& path)
{
    FileSignature signature;
    const auto verify = SystemFunction<WinVerifyTrustFunction>(kWintrust, "WinVerifyTrust");
    const UniqueFile file = OpenToRead(path);
    if (!verify || !file) {
        signature.reason = verify ? L"the file could not be read (error " + std::to_wstring(GetLastError()) + L")"
                                  : L"the system cannot check signatures";
        return signature;
    }
    WINTRUST_FILE_INFO embedded{};
    embedded.cbStruct = sizeof(embedded);
    embedded.pcwszFilePath = path.c_str();
    embedded.hFile = file.get();
    WINTRUST_DATA data = QuietTrustData();
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &embedded;
    signature = Verdict(verify, data);
    // Most of the system's own programs are signed only through a catalog.
    if (signature.status == SignatureStatus::Unsigned) {
        if (auto catalog = CatalogSignature(verify, path, file.get()))
            signature = std::move(*catalog);
    }
    signature.company = CompanyOfFile(file.get());
    return signature;
}

FileSignature SignatureCache::Check(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return CheckFile(path);
    const std::uint64_t size = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    const std::uint64_t written =
        (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) | attributes.ftLastWriteTime.dwLowDateTime;
    Key key{path, size, written};
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = checked_.find(key); found != checked_.end())
            return found->second;
    }
    FileSignature signature = CheckFile(path);
    const std::lock_guard lock(mutex_);
    checked_.emplace(std::move(key), signature);
    return signature;
}

} // namespace qm
