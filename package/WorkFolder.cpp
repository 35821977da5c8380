#include "WorkFolder.h"

#include "NativeArch.h"
#include "ShellDelete.h"

#include <shlobj.h>
#include <shlwapi.h>

std::wstring CreateWorkFolder(HWND owner)
{
    wchar_t tempPath[MAX_PATH] = {};
    const DWORD capacity = sizeof(tempPath) / sizeof(tempPath[0]);
    const DWORD length = ::GetTempPathW(capacity, tempPath);
    if (length == 0 || length >= capacity)
        return std::wstring();
    // Windows picks a name no file has and creates the file; the folder takes its place.
    wchar_t name[MAX_PATH] = {};
    if (!::GetTempFileNameW(tempPath, L"tq", 0, name))
        return std::wstring();
    ::DeleteFileW(name);
    // Between the two calls another process may create a folder of that name
    // and fill it; it must fail here rather than have its contents run.
    if (!::CreateDirectoryW(name, nullptr))
        return std::wstring();

    const std::wstring workFolder = name;
    ::SHCreateDirectory(owner, (workFolder + L"\\x86").c_str());
    ::SHCreateDirectory(owner, (workFolder + L"\\amd64").c_str());
    return workFolder;
}

void DeleteWorkFolder(const std::wstring& workFolder, HWND owner)
{
    if (!::PathFileExistsW(workFolder.c_str()))
        return;
    ShellDeleteTree(workFolder.c_str(), owner, FOF_SILENT | FOF_NOCONFIRMATION);
}

std::wstring ArchFolder(const std::wstring& workFolder)
{
    return workFolder + L"\\" + NativeArch();
}
