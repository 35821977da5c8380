#include "PortDlg.h"

#include "res/resource.h"

CPortDlg::CPortDlg(CWnd* parent) : CDialog(IDD_PORT_TYPE, parent)
{
}

void CPortDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_SERIAL_PORT, m_nPortKind);
}

BOOL CPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}
