#pragma once

#include "launch/Signature.h"

#include <optional>
#include <string>
#include <vector>

namespace qm {

// The grey note after an entry's name: "32-bit" for an entry of a 32-bit programs' key, and a
// word for a program whose signature does not vouch for it. A verified or unchecked program
// adds nothing, so that a machine of signed programs shows a calm list. nullptr for no note.
const wchar_t* EntryNote(bool is32Bit, const std::optional<FileSignature>& signature);

// What the entry's tooltip says of its program's signature and of the company it claims. A
// program that could not be checked adds no signature line: the tooltip says already when it
// is missing.
std::vector<std::wstring> SignatureLines(const FileSignature& signature);

} // namespace qm
