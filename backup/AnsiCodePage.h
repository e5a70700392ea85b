#pragma once

#include "backup/RegFileFormat.h"

namespace qm {

// The system's ANSI code page (CP_ACP), the one the registry editor reads REGEDIT4 files in.
class AnsiCodePage final : public AnsiCodec {
public:
    std::wstring Decode(const std::string& bytes) const override;
};

} // namespace qm
