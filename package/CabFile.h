// Extracts a cabinet into a folder, and with auto-deletion removes that folder
// again when the object goes.
#pragma once

#include <windows.h>

#include <string>

class CCabFile {
public:
    explicit CCabFile(BOOL bAutoDelete);
    virtual ~CCabFile();
    CCabFile(const CCabFile&) = delete;
    CCabFile& operator=(const CCabFile&) = delete;

    // Extracts a cabinet image through a temporary "mycab" file that is gone
    // afterwards; nonzero when the whole archive was iterated.
    BOOL ExtractFromMemory(const void* pData, DWORD cbData, LPCWSTR folder);
    // Creates the folder (one level) when missing, and extracts every entry
    // under its name in the cabinet below it.
    BOOL ExtractFromFile(LPCWSTR cabinet, LPCWSTR folder);

    static UINT CALLBACK OnCabinetNotify(PVOID context, UINT notification, UINT_PTR param1,
                                         UINT_PTR param2);
    // Deletes the tree without any user interface; nonzero when the shell succeeded.
    static BOOL DeleteFolderTree(LPCWSTR folder);

private:
    // The destination of the last extraction started; empty before.
    std::wstring m_strFolder;
    BOOL m_bAutoDelete;
};
