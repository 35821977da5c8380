#include "AdminOnlySecurity.h"

#include <sddl.h>

namespace {
// Protected (nothing inherited from the temporary directory), full access for
// BUILTIN\Administrators and LocalSystem, passed on to files and folders.
const wchar_t kAdminOnly[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// Unless the token is known not to hold the Administrators group, the folder
// is protected: an unanswered question must not open it to everyone.
bool MayBeAdministrator()
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    BOOL member = FALSE;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) ||
        !::CheckTokenMembership(nullptr, sid, &member))
        return true;
    return member != FALSE;
}
}

AdminOnlySecurity::AdminOnlySecurity()
{
    if (!MayBeAdministrator()) {
        m_usable = true;
        return;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdminOnly, SDDL_REVISION_1, &descriptor, nullptr))
        return;
    m_descriptor.Reset(descriptor);
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = descriptor;
    m_attributes.bInheritHandle = FALSE;
    m_usable = true;
}
