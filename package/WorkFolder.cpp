#include "WorkFolder.h"

#include "NativeArch.h"

#include <cwchar>

ProtectedFolder CreateWorkFolder()
{
    ProtectedFolder workFolder;
    // Both subfolders inherit the folder's security.
    if (!workFolder.Create(L"tq", std::wcslen(L"\\amd64"), AdminOnlySecurity()) ||
        !workFolder.CreateSubfolder(L"x86") || !workFolder.CreateSubfolder(L"amd64"))
        return ProtectedFolder();
    return workFolder;
}

void DeleteWorkFolder(ProtectedFolder& workFolder)
{
    workFolder.Delete();
}

std::wstring ArchFolder(const std::wstring& workFolder)
{
    return workFolder + L"\\" + NativeArch();
}
