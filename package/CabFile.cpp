#include "CabFile.h"

#include "ExclusiveFile.h"
#include "ShellDelete.h"

#include "framework/SetupApi.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <direct.h>
#include <memory>

namespace {
struct FreeDeleter {
    void operator()(wchar_t* p) const { std::free(p); }
};
}

CCabFile::CCabFile(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete)
{
}

CCabFile::~CCabFile()
{
    if (m_bAutoDelete && ::PathIsDirectoryW(m_strFolder.c_str()))
        DeleteFolderTree(m_strFolder.c_str());
}

BOOL CCabFile::ExtractFromMemory(const void* pData, DWORD cbData, LPCWSTR folder)
{
    const std::unique_ptr<wchar_t, FreeDeleter> name(::_wtempnam(nullptr, L"mycab"));
    if (!name)
        return FALSE;
    // Created afresh and kept from other writers until it is unpacked, so that
    // nobody can hand the extraction a cabinet of their own.
    ExclusiveFile cabinet;
    if (!cabinet.Create(name.get()))
        return FALSE;
    cabinet.Write(pData, cbData);
    return ExtractFromFile(name.get(), folder);
}

BOOL CCabFile::ExtractFromFile(LPCWSTR cabinet, LPCWSTR folder)
{
    if (!::PathIsDirectoryW(folder))
        ::_wmkdir(folder);
    // Recorded before the iteration, so that a failed one is cleaned up too.
    m_strFolder = folder;
    return SetupApi::Get().SetupIterateCabinetW(cabinet, 0, &CCabFile::OnCabinetNotify, this);
}

UINT CALLBACK CCabFile::OnCabinetNotify(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR)
{
    // Failures to write single entries are not reported: the iteration goes on.
    if (notification != SPFILENOTIFY_FILEINCABINET)
        return NO_ERROR;
    const CCabFile* self = static_cast<const CCabFile*>(context);
    FILE_IN_CABINET_INFO_W* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
    try {
        // The entry's name holds its subfolder, such as "amd64\devcon.exe".
        const std::wstring target = self->m_strFolder + L"\\" + info->NameInCabinet;
        // A longer path is cut to what the buffer holds.
        ::lstrcpynW(info->FullTargetName, target.c_str(),
                    sizeof(info->FullTargetName) / sizeof(info->FullTargetName[0]));
    } catch (...) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FILEOP_ABORT;
    }
    return FILEOP_DOIT;
}

BOOL CCabFile::DeleteFolderTree(LPCWSTR folder)
{
    return ShellDeleteTree(folder, nullptr, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI) == 0;
}
