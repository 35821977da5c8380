#include "WaitDialog.h"

#include "InstallWorker.h"

#include "common/ProgressMessage.h"
#include "res/resource.h"

decltype(&::CreateThread) CWaitDialog::s_createThread = &::CreateThread;

BEGIN_MESSAGE_MAP(CWaitDialog, CDialog)
    ON_MESSAGE(ProgressMessage, &CWaitDialog::OnProgressMessage)
END_MESSAGE_MAP()

CWaitDialog::CWaitDialog(CWnd* parent, InstallJob* job)
    : CDialog(IDD_WAIT_DIALOG, parent), m_pJob(job)
{
}

void CWaitDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CWaitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    m_pJob->hNotifyWnd = m_hWnd;
    m_hThread.Reset(s_createThread(nullptr, 0, &InstallWorker, m_pJob, 0, nullptr));
    if (!m_hThread)
        EndDialog(IDABORT);
    return TRUE;
}

void CWaitDialog::OnOK()
{
}

void CWaitDialog::OnCancel()
{
}

LRESULT CWaitDialog::OnProgressMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 0) {
        m_progress.SetPos(static_cast<int>(lParam));
        return 0;
    }
    // The worker's last message: its exit code is the outcome.
    DWORD result = 0xFFFFFFFF;
    if (m_hThread) {
        ::WaitForSingleObject(m_hThread.Get(), INFINITE);
        ::GetExitCodeThread(m_hThread.Get(), &result);
        m_hThread.Reset();
    }
    EndDialog(result == 0 ? IDOK : IDCANCEL);
    return 0;
}
