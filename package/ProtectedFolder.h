// A new folder that the tool makes for itself and holds, from creation until
// its deletion starts: created with its security in one step, so nobody
// else's folder can take its place, and held open without delete sharing, so
// that nobody can rename or delete it while the tool uses it by its path. Once made it is
// never tested, opened or deleted by name again: what lies inside is deleted
// through handles opened relative to it, and the folder through its own.
#pragma once

#include "AdminOnlySecurity.h"

#include "framework/UniqueResource.h"

#include <windows.h>

#include <string>

class ProtectedFolder {
public:
    ProtectedFolder() = default;
    // Deletes the folder if it still holds it.
    ~ProtectedFolder();
    ProtectedFolder(ProtectedFolder&& other) noexcept = default;
    ProtectedFolder& operator=(ProtectedFolder&& other) noexcept;

    // Names the folder as GetTempFileNameW names a file with the prefix, and
    // creates it with the security in the user's temporary directory, or in
    // the Windows folder's own (its \Temp) where the user's cannot serve: it
    // cannot be opened, lies on a volume that would not enforce the security
    // (one without persistent ACLs, a remote one, or a UNC path), or the
    // system gives no final path of a folder made there (which then goes
    // again). FALSE, with nothing made, when no new folder could be made, or
    // when its path would leave less than room characters for what goes
    // below it within MAX_PATH; a temporary directory too long for such a
    // name is refused before anything is made.
    BOOL Create(LPCWSTR prefix, size_t room, const AdminOnlySecurity& security);
    // Creates the folder at the full path, one level, with the security of
    // the folder it lies in. FALSE when anything exists there already
    // (ERROR_ALREADY_EXISTS) or it cannot be made.
    BOOL CreateAt(LPCWSTR path);
    // Creates a folder of that name directly inside, with the security it
    // inherits from this one.
    BOOL CreateSubfolder(LPCWSTR name);

    // The folder's full path as the file system resolves it, through no
    // junction or link that someone could point elsewhere later; empty
    // until a Create succeeded.
    const std::wstring& Path() const { return m_path; }

    // Deletes the folder and everything inside; a reparse point inside is
    // removed, never followed. What a command started can keep open for a
    // moment after it ended (a console host's current folder) is waited
    // for, up to two seconds. TRUE when the folder has gone or none was held.
    BOOL Delete();
    // Lets go of the folder without deleting it.
    void Release() { m_hold.Reset(); }

private:
    // unresolved tells a folder made and deleted again for want of its final path.
    BOOL CreateIn(HANDLE directory, const std::wstring& directoryPath, LPCWSTR prefix, size_t room,
                  PSECURITY_DESCRIPTOR descriptor, bool& unresolved);

    std::wstring m_path;
    UniqueHandle m_hold;
};
