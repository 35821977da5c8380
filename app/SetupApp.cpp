#include "SetupApp.h"

#include "MainDlg.h"

#include <ole2.h>

CSetupApp theApp;

BOOL CSetupApp::InitInstance()
{
    // The shell's file operations used for the work folders want COM/OLE.
    ::OleInitialize(nullptr);
    {
        CMainDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    ::OleUninitialize();
    return FALSE;
}
