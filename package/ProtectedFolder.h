// A new folder in the temporary directory that the tool makes for itself and
// holds while it uses it: created with the administrators-only security in
// one step, so nobody else's folder can take its place, and held open
// without delete sharing, so that it cannot be renamed or deleted (nor, on
// NTFS, any folder above it) until the holder lets go.
#pragma once

#include "AdminOnlySecurity.h"

#include "framework/UniqueResource.h"

#include <windows.h>

#include <string>

class ProtectedFolder {
public:
    ProtectedFolder() = default;
    ProtectedFolder(ProtectedFolder&&) = default;
    ProtectedFolder& operator=(ProtectedFolder&&) = default;

    // Names the folder as GetTempFileNameW names a file with the prefix, in
    // the temporary directory, and creates it with the security. FALSE, with
    // nothing left behind, when no new folder could be made there, or when
    // its path would leave less than room characters for what goes below it
    // within MAX_PATH; a temporary directory too long for such a name is
    // refused before anything is made.
    BOOL Create(LPCWSTR prefix, size_t room, const AdminOnlySecurity& security);

    // The folder's full path as the file system resolves it, through no
    // junction or link that someone could point elsewhere later; empty
    // until Create succeeded.
    const std::wstring& Path() const { return m_path; }

    // Lets go of the folder, so that it can be deleted.
    void Unlock() { m_hold.Reset(); }

private:
    std::wstring m_path;
    UniqueHandle m_hold;
};
