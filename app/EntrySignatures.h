#pragma once

#include "launch/Signature.h"

#include <optional>
#include <string>
#include <vector>

namespace qm {

// The grey note after an entry's name: its key's mark ("32-bit", "once", ...), and a word for a
// program whose signature does not vouch for it. A verified or unchecked program adds nothing,
// so that a machine of signed programs shows a calm list. nullptr for no note; a note lives as
// long as the program, since a list item keeps a pointer to it.
const wchar_t* EntryNote(const wchar_t* mark, const std::optional<FileSignature>& signature);

// What the entry's tooltip says of its program's signature and of the company it claims. A
// program that could not be checked adds no signature line: the tooltip says already when it
// is missing.
std::vector<std::wstring> SignatureLines(const FileSignature& signature);

} // namespace qm
