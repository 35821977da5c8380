// Extracts a cabinet into a folder, and with auto-deletion removes a folder
// that it created for that again when the object goes.
#pragma once

#include "ProtectedFolder.h"

#include <windows.h>

#include <string>

class CCabFile {
public:
    explicit CCabFile(BOOL bAutoDelete);
    virtual ~CCabFile();
    CCabFile(const CCabFile&) = delete;
    CCabFile& operator=(const CCabFile&) = delete;

    // Extracts a cabinet image through a temporary "mycab" folder and file,
    // made where only administrators can change them and gone afterwards;
    // nonzero when the whole archive was iterated.
    BOOL ExtractFromMemory(const void* pData, DWORD cbData, LPCWSTR folder);
    // Creates the folder (one level) when missing, and extracts every entry
    // under its name in the cabinet below it. An entry whose name could lead
    // out of the folder, or that the platform would write under another
    // name, fails the extraction before it is written; so does a folder
    // whose path the platform could not take as it is.
    BOOL ExtractFromFile(LPCWSTR cabinet, LPCWSTR folder);

    static UINT CALLBACK OnCabinetNotify(PVOID context, UINT notification, UINT_PTR param1,
                                         UINT_PTR param2);

private:
    // The destination of the last extraction started; empty before.
    std::wstring m_strFolder;
    BOOL m_bAutoDelete;
    // The destination when the last extraction created it, held for deletion.
    ProtectedFolder m_created;
    // The same folder as the cabinet iteration is handed it.
    std::wstring m_strTargetFolder;
    // Whether the last extraction met an entry that would have left the folder.
    BOOL m_bEntryRefused = FALSE;
};
