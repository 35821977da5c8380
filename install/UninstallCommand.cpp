#include "UninstallCommand.h"

#include "common/PortKind.h"
#include "framework/AppMessageBox.h"
#include "framework/ListCtrl.h"
#include "common/TraceLog.h"
#include "framework/WaitCursor.h"
#include "package/DriverPackage.h"
#include "package/ExtractedPackage.h"
#include "ports/PortList.h"
#include "res/resource.h"

namespace {
struct RemoveCommand {
    const wchar_t* hardwareId;
    bool inArchFolder;  // the current folder; the work folder otherwise
    const wchar_t* startText;
};

const RemoveCommand kRemoveCommands[] = {
    { kSerialPortHardwareId, false, L"start to uninstall serial\n" },
    { kParallelPortHardwareId, true, L"start to uninstall parallel\n" },
    { kOldVersionHardwareId, true, L"start to uninstall old version\n" },
};

// TRUE when a remove command succeeded. The work folder has gone when it
// returns, and the success message comes after.
BOOL RemovePorts(HWND owner, CListCtrl& list, const DriverPackage& package)
{
    BOOL succeeded = FALSE;
    ExtractedPackage extracted;
    if (extracted.Extract(package.pData, package.cbData)) {
        for (const RemoveCommand& command : kRemoveCommands) {
            DWORD exitCode = 0;
            if (!extracted.Run(std::wstring(L"remove ") + command.hardwareId, command.inArchFolder, command.startText,
                               exitCode))
                AppMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
            else if (exitCode == 0)
                succeeded = TRUE;
            else
                TraceLog(L"process exit with %u\n", exitCode);
        }
        PortListRefresh(owner, list);
    } else {
        AppMessageBox(IDS_UNINSTALL_FAILED, MB_ICONERROR);
    }
    extracted.Delete();
    return succeeded;
}
}

void UninstallCommand(HWND owner, CListCtrl& list)
{
    CWaitCursor waitCursor;
    // Which row is selected does not matter: every port of the system goes.
    if (list.GetSelectedCount() == 0) {
        AppMessageBox(IDS_SELECT_PORT, MB_ICONWARNING);
        return;
    }
    const std::optional<DriverPackage> package = LoadDriverPackage();
    if (!package)
        return;

    if (RemovePorts(owner, list, *package))
        AppMessageBox(IDS_UNINSTALL_OK, MB_ICONINFORMATION);
}
