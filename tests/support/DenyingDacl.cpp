#include "support/DenyingDacl.h"

namespace qmtest {

DenyingDacl::DenyingDacl(HKEY root, const std::wstring& subKey, DWORD denied)
{
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    original_.resize(size);
    if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data(), &size) != ERROR_SUCCESS)
        return;

    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof everyone;
    if (!CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize))
        return;
    alignas(DWORD) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    SECURITY_DESCRIPTOR descriptor;
    applied_ = InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION)
        && AddAccessDeniedAce(acl, ACL_REVISION, denied, everyone)
        && AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone)
        && InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
        && SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)
        && RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

DenyingDacl::~DenyingDacl()
{
    if (applied_)
        RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data());
    if (key_)
        RegCloseKey(key_);
}

} // namespace qmtest
