#include "InstallWorker.h"

#include "common/InstallJob.h"
#include "common/ProgressMessage.h"
#include "common/TraceLog.h"
#include "package/ExtractedPackage.h"

namespace {
const DWORD kNotDone = 0xFFFFFFFF;

void ReportProgress(const InstallJob& job, LPARAM position)
{
    ::PostMessageW(job.hNotifyWnd, ProgressMessage, 1, position);
}

// Without this report the dialog never ends: a full message queue must not
// swallow it, so it is posted again until it arrives or the dialog is gone.
void ReportFinishing(const InstallJob& job)
{
    while (!::PostMessageW(job.hNotifyWnd, ProgressMessage, 0, 0) && ::IsWindow(job.hNotifyWnd))
        ::Sleep(10);
}

DWORD Install(const InstallJob& job)
{
    DWORD result = 0;
    // Destroyed after the last report; it deletes the work folder only if it is still there.
    ExtractedPackage package;
    if (package.Extract(job.pData, job.cbData)) {
        ReportProgress(job, 50);
        DWORD exitCode = 0;
        if (package.Run(std::wstring(L"install Tavrin.inf ") + PortKindHardwareId(job.nPortKind), false,
                        L"start to install\n", exitCode)) {
            if (exitCode != 0)
                result = exitCode;
            ReportProgress(job, 80);
        } else {
            result = kNotDone;
        }
    } else {
        result = kNotDone;
    }
    ::Sleep(10);
    ReportProgress(job, 90);
    package.Delete();
    ::Sleep(10);
    ReportProgress(job, 100);
    ::Sleep(10);
    ReportFinishing(job);
    return result;
}
}

DWORD WINAPI InstallWorker(LPVOID parameter)
{
    const InstallJob& job = *static_cast<const InstallJob*>(parameter);
    try {
        return Install(job);
    } catch (...) {
        // Only allocations can throw, all of them before the last report.
        TraceLog(L"exception in the install worker\n");
        ReportFinishing(job);
        return kNotDone;
    }
}
