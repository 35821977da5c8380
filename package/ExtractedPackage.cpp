#include "ExtractedPackage.h"

#include "DeviceCommand.h"
#include "WorkFolder.h"

#include "common/TraceLog.h"

BOOL ExtractedPackage::Extract(const void* data, DWORD size)
{
    m_workFolder = CreateWorkFolder();
    const std::wstring& path = m_workFolder.Path();
    if (path.empty() || !m_cab.ExtractFromMemory(data, size, path.c_str())) {
        TraceLog(L"failed to extract files\n");
        return FALSE;
    }
    m_archFolder = ArchFolder(path);
    return TRUE;
}

BOOL ExtractedPackage::Run(const std::wstring& arguments, bool inArchFolder, LPCWSTR startText,
                           DWORD& exitCode) const
{
    const std::wstring& workFolder = m_workFolder.Path();
    return RunDeviceCommand(DeviceCommandLine(m_archFolder, arguments),
                            (inArchFolder ? m_archFolder : workFolder).c_str(), workFolder, startText, exitCode);
}

void ExtractedPackage::Delete()
{
    DeleteWorkFolder(m_workFolder);
}
