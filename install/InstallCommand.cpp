#include "InstallCommand.h"

#include "PortDlg.h"
#include "WaitDialog.h"

#include "framework/AppMessageBox.h"
#include "framework/ListCtrl.h"
#include "framework/WaitCursor.h"
#include "package/DriverPackage.h"
#include "ports/PortList.h"
#include "res/resource.h"

void InstallCommand(CWnd& owner, CListCtrl& list)
{
    // The system holds one port at most.
    if (list.GetItemCount() != 0) {
        AppMessageBox(IDS_PORT_EXISTS, MB_ICONWARNING);
        return;
    }
    CPortDlg portDlg(&owner);
    if (portDlg.DoModal() != IDOK)
        return;
    const PortKind kind = portDlg.GetPortKind();
    const std::optional<DriverPackage> package = LoadDriverPackage();
    if (!package)
        return;

    CWaitCursor waitCursor;
    InstallJob job = { package->pData, package->cbData, kind, nullptr };
    CWaitDialog waitDlg(&owner, &job);
    if (waitDlg.DoModal() == IDOK) {
        // Refreshed first, so that the new port is listed when the user reads the message.
        PortListRefresh(owner.m_hWnd, list);
        AppMessageBox(IDS_INSTALL_OK, MB_ICONINFORMATION);
    } else {
        AppMessageBox(IDS_INSTALL_FAILED, MB_ICONERROR);
    }
}
