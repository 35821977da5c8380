// The security the tool's own temporary folders and files are created with:
// a protected DACL that grants full access to the Administrators group and
// LocalSystem alone, inherited by everything inside, and since Windows Vista
// an owner of anything inside limited to reading its security and a High
// integrity label. No process without administrator rights (a same-user
// process without elevation included) can then create, change, replace or
// delete anything inside, nor change its security. The folder itself may
// still be deleted by whoever may delete children of the folder it lies in
// (the user, in his own temporary directory): what keeps it is its hold.
#pragma once

#include "framework/UniqueResource.h"

#include <windows.h>

class AdminOnlySecurity {
public:
    AdminOnlySecurity();
    AdminOnlySecurity(const AdminOnlySecurity&) = delete;
    AdminOnlySecurity& operator=(const AdminOnlySecurity&) = delete;

    // False when the descriptor could not be made: nothing may be created then.
    explicit operator bool() const { return m_usable; }
    // What to create with. Null for a process that is no administrator
    // (Windows XP run by a standard user): it could not use such a folder
    // itself, and gets the inherited security as before.
    PSECURITY_DESCRIPTOR Descriptor() const { return m_descriptor.Get(); }
    SECURITY_ATTRIBUTES* Attributes() { return m_descriptor ? &m_attributes : nullptr; }

private:
    UniqueLocalMemory m_descriptor;
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_usable = false;
};
