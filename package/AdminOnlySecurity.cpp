#include "AdminOnlySecurity.h"

#include <sddl.h>
#include <versionhelpers.h>

namespace {
// Owned by BUILTIN\Administrators, not by the user (whose unelevated
// processes could otherwise rewrite the DACL); protected, so nothing comes
// from the temporary directory; full access for Administrators and
// LocalSystem, passed on to the files and folders inside.
const wchar_t kAdminOnly[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
// Since Windows Vista, what is made inside may be owned by the user himself
// (the token's default owner can be him), and an owner may rewrite the DACL:
// OWNER RIGHTS cuts whoever owns anything here down to reading the security,
// and the High label keeps every process below it from writing anything,
// whatever the DACL says. Both are inherited.
const wchar_t kAdminOnlyOwnerless[] =
    L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;RC;;;OW)S:(ML;OICI;NW;;;HI)";

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
    const wchar_t* text = ::IsWindowsVistaOrGreater() ? kAdminOnlyOwnerless : kAdminOnly;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(text, SDDL_REVISION_1, &descriptor, nullptr))
        return;
    m_descriptor.Reset(descriptor);
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = descriptor;
    m_attributes.bInheritHandle = FALSE;
    m_usable = true;
}
