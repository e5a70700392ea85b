#include "app/EntrySignatures.h"

namespace qm {

namespace {

// Static texts: a list item keeps a pointer to its note.
constexpr const wchar_t* kNativeNotes[] = {nullptr, L"unsigned", L"bad signature", L"untrusted"};
constexpr const wchar_t* k32BitNotes[] = {L"32-bit", L"32-bit, unsigned", L"32-bit, bad signature", L"32-bit, untrusted"};

std::size_t NoteIndex(const std::optional<FileSignature>& signature)
{
    if (!signature)
        return 0;
    switch (signature->status) {
    case SignatureStatus::Unsigned: return 1;
    case SignatureStatus::Invalid: return 2;
    case SignatureStatus::Untrusted: return 3;
    case SignatureStatus::Verified:
    case SignatureStatus::NotChecked: break;
    }
    return 0;
}

} // namespace

const wchar_t* EntryNote(bool is32Bit, const std::optional<FileSignature>& signature)
{
    return (is32Bit ? k32BitNotes : kNativeNotes)[NoteIndex(signature)];
}

std::vector<std::wstring> SignatureLines(const FileSignature& signature)
{
    std::vector<std::wstring> lines;
    switch (signature.status) {
    case SignatureStatus::Verified:
        lines.push_back(signature.signer.empty() ? L"Signed" : L"Signed by " + signature.signer);
        break;
    case SignatureStatus::Unsigned: lines.emplace_back(L"Not signed"); break;
    case SignatureStatus::Invalid: lines.push_back(L"Signature invalid: " + signature.reason); break;
    case SignatureStatus::Untrusted: lines.emplace_back(L"Signature not trusted"); break;
    case SignatureStatus::NotChecked: break;
    }
    if (!signature.company.empty())
        lines.push_back(L"Company: " + signature.company + L" (as the file states)");
    return lines;
}

} // namespace qm
