#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace qm {

// How far a program's Authenticode signature vouches for it.
enum class SignatureStatus {
    NotChecked, // missing, on the network, or unreadable: nothing is known
    Verified,   // matches the file and chains to a trusted root
    Unsigned,   // no embedded signature and no catalog that holds the file
    Invalid,    // does not match the file, or its certificate is expired, revoked or distrusted
    Untrusted,  // matches the file but chains to no trusted root
};

// "verified", "unsigned", "invalid", "untrusted", "not checked": as scripts read them.
const wchar_t* SignatureStatusName(SignatureStatus status);

struct TrustVerdict {
    SignatureStatus status;
    std::wstring reason; // for Invalid, Untrusted and NotChecked: why, in a few words
};

// What a WinVerifyTrust result code says of a file.
TrustVerdict VerdictOfTrustResult(LONG result);

struct FileSignature {
    SignatureStatus status = SignatureStatus::NotChecked;
    std::wstring signer;  // the signing certificate's CN (else O, else OU); only when Verified
    std::wstring reason;  // as TrustVerdict
    std::wstring company; // CompanyName of the version resource: a claim, not evidence
};

// CompanyName of a file's version resource, in the first translation it lists, else in US
// English; empty when it has none.
std::wstring ClaimedCompany(const std::wstring& path);

// The signature of a file (embedded first, then the system catalogs) and its claimed company.
// Never goes to the network: no revocation check, no certificate fetched, no user interface.
// Opens the file once for both. Loads wintrust and crypt32 on first use. Safe on several
// threads at once.
FileSignature CheckFile(const std::wstring& path);

// The checks of one session: a file is checked again only when its size or last-write time
// has changed. Safe on several threads at once.
class SignatureCache {
public:
    FileSignature Check(const std::wstring& path);

private:
    using Key = std::tuple<std::wstring, std::uint64_t, std::uint64_t>;
    std::mutex mutex_;
    std::map<Key, FileSignature> checked_;
};

} // namespace qm
