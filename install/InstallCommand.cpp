#include "InstallCommand.h"

#include "PortDlg.h"
#include "WaitDialog.h"

#include "app/MainDlg.h"
#include "framework/AppMessageBox.h"
#include "framework/WaitCursor.h"
#include "package/DriverPackage.h"
#include "res/resource.h"

void InstallCommand(CMainDlg& mainDlg)
{
    // The system holds one port at most.
    if (mainDlg.PortList().GetItemCount() != 0) {
        AppMessageBox(IDS_PORT_EXISTS, MB_ICONWARNING);
        return;
    }
    CPortDlg portDlg(&mainDlg);
    if (portDlg.DoModal() != IDOK)
        return;
    const PortKind kind = portDlg.GetPortKind();
    const std::optional<DriverPackage> package = LoadDriverPackage();
    if (!package)
        return;

    CWaitCursor waitCursor;
    InstallJob job = { package->pData, package->cbData, kind, nullptr };
    CWaitDialog waitDlg(&mainDlg, &job);
    if (waitDlg.DoModal() == IDOK) {
        // Refreshed first, so that the new port is listed when the user reads the message.
        mainDlg.PortListRefresh();
        AppMessageBox(IDS_INSTALL_OK, MB_ICONINFORMATION);
    } else {
        AppMessageBox(IDS_INSTALL_FAILED, MB_ICONERROR);
    }
}
