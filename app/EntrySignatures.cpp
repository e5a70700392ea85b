#include "app/EntrySignatures.h"

#include <set>

namespace qm {

namespace {

constexpr const wchar_t* kSignatureWords[] = {nullptr, L"unsigned", L"bad signature", L"untrusted"};

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

const wchar_t* EntryNote(const wchar_t* mark, const std::optional<FileSignature>& signature)
{
    const wchar_t* word = kSignatureWords[NoteIndex(signature)];
    if (!word || !mark)
        return word ? word : mark;
    // Each pair is joined once and kept: a set's elements stay where they are.
    static std::set<std::wstring> joined;
    return joined.insert(std::wstring(mark) + L", " + word).first->c_str();
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
