#include "MainDlg.h"

#include "busy/BusyIndicator.h"
#include "install/InstallCommand.h"
#include "install/UninstallCommand.h"
#include "ports/PortList.h"
#include "ports/PortRename.h"
#include "res/resource.h"

#include "framework/ResourceString.h"
#include "framework/SetupApi.h"
#include "framework/WinApp.h"

#include <devguid.h>
#include <setupapi.h>

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
    ON_WM_DESTROY()
    ON_COMMAND(IDC_REFRESH, &CMainDlg::PortListRefresh)
    ON_COMMAND(IDC_INSTALL, &CMainDlg::OnInstall)
    ON_COMMAND(IDC_UNINSTALL, &CMainDlg::OnUninstall)
    ON_COMMAND(IDC_CHG_PORT, &CMainDlg::PortRename)
END_MESSAGE_MAP()

CMainDlg::CMainDlg() : CDialog(IDD_MAIN_DIALOG)
{
}

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PORT_LIST, m_list);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    HICON classIcon = nullptr;
    INT miniIconIndex = 0;
    if (SetupApi::Get().SetupDiLoadClassIcon(&GUID_DEVCLASS_PORTS, &classIcon, &miniIconIndex)) {
        m_hClassIcon.Reset(classIcon);
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(classIcon));
    } else {
        m_hClassIcon.Reset();
        HICON appIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_APP) : nullptr;
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));
    }

    UpdateData(FALSE);

    m_list.InsertColumn(0, LoadResourceString(IDS_COLUMN_NAME).c_str(), LVCFMT_LEFT, 100, -1);
    m_list.InsertColumn(1, LoadResourceString(IDS_COLUMN_TYPE).c_str(), LVCFMT_LEFT, 100, -1);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);

    PortListRefresh();
    BusyIndicatorStart(this);
    return TRUE;
}

void CMainDlg::OnDestroy()
{
    BusyIndicatorStop();
    m_hClassIcon.Reset();
}

void CMainDlg::PortListRefresh()
{
    ::PortListRefresh(m_hWnd, m_list);
}

void CMainDlg::OnInstall()
{
    InstallCommand(*this, m_list);
}

void CMainDlg::OnUninstall()
{
    UninstallCommand(m_hWnd, m_list);
}

void CMainDlg::PortRename()
{
    ::PortRename(m_hWnd, m_list);
}
