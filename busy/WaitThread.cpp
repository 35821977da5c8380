#include "WaitThread.h"

#include "BusyIndicator.h"
#include "SpinnerLayout.h"

IMPLEMENT_DYNCREATE(CWaitThread, CWinThread)

BOOL CWaitThread::InitInstance()
{
    RECT rect = { 0, 0, kBusyBoxWidth, kBusyBoxHeight };
    if (CWnd::SafeHwnd(g_pMainWnd)) {
        ::GetWindowRect(g_pMainWnd->m_hWnd, &rect);
        m_waitWin.Create(nullptr, nullptr, WS_POPUP | WS_DLGFRAME, CentredBusyBox(rect),
                         g_pMainWnd, 0);
    } else {
        m_waitWin.Create(nullptr, nullptr, WS_POPUP | WS_VISIBLE | WS_DLGFRAME, rect, nullptr, 0);
    }
    // Set even when creation failed: the loop then runs without a window.
    m_pMainWnd = &m_waitWin;
    return TRUE;
}

int CWaitThread::ExitInstance()
{
    // Only its own thread can destroy a window, so the indicator goes here,
    // after the loop has ended, and never from the thread that stops it.
    m_waitWin.DestroyWindow();
    return 0;
}
