#include "WorkFolder.h"

#include "NativeArch.h"
#include "ShellDelete.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

ProtectedFolder CreateWorkFolder(HWND owner)
{
    ProtectedFolder workFolder;
    if (!workFolder.Create(L"tq", std::wcslen(L"\\amd64"), AdminOnlySecurity()))
        return ProtectedFolder();
    // Both inherit the folder's security.
    ::SHCreateDirectory(owner, (workFolder.Path() + L"\\x86").c_str());
    ::SHCreateDirectory(owner, (workFolder.Path() + L"\\amd64").c_str());
    return workFolder;
}

void DeleteWorkFolder(ProtectedFolder& workFolder, HWND owner)
{
    workFolder.Unlock();
    if (!::PathFileExistsW(workFolder.Path().c_str()))
        return;
    ShellDeleteTree(workFolder.Path().c_str(), owner, FOF_SILENT | FOF_NOCONFIRMATION);
}

std::wstring ArchFolder(const std::wstring& workFolder)
{
    return workFolder + L"\\" + NativeArch();
}
