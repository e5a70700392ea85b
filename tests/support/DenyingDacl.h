#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qmtest {

// Gives a key a DACL that denies some access to Everyone (and allows the rest) for its
// lifetime, then puts the original DACL back through a handle opened beforehand.
class DenyingDacl {
public:
    DenyingDacl(HKEY root, const std::wstring& subKey, DWORD denied);
    ~DenyingDacl();
    DenyingDacl(const DenyingDacl&) = delete;
    DenyingDacl& operator=(const DenyingDacl&) = delete;

    bool Applied() const { return applied_; }

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> original_;
    bool applied_ = false;
};

} // namespace qmtest
