#include "BusyIndicator.h"

#include "WaitThread.h"

ULONG_PTR g_gdiplusToken = 0;
CWnd* g_pMainWnd = nullptr;
CWinThread* g_pWaitThread = nullptr;

decltype(&Gdiplus::GdiplusStartup) g_gdiplusStartup = &Gdiplus::GdiplusStartup;
decltype(&Gdiplus::GdiplusShutdown) g_gdiplusShutdown = &Gdiplus::GdiplusShutdown;
decltype(g_beginThread) g_beginThread = &AfxBeginThread;

namespace {
// How long Stop lets a thread that has no message queue yet run before it
// posts WM_QUIT again.
constexpr DWORD kQueueRetryMs = 10;
}

void BusyIndicatorStart(CWnd* mainWnd)
{
    // Version 1, no debug callback, neither the background thread nor the
    // external codecs suppressed.
    const Gdiplus::GdiplusStartupInput input;
    if (g_gdiplusStartup(&g_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        return;
    g_pMainWnd = mainWnd;
    g_pWaitThread = g_beginThread(RUNTIME_CLASS(CWaitThread), THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
}

void BusyIndicatorStop()
{
    if (g_pWaitThread) {
        // All that is needed is taken before WM_QUIT lets the object delete
        // itself; it is not touched afterwards. The window is not destroyed
        // from here: the thread does that as it leaves its loop.
        const DWORD threadId = g_pWaitThread->m_nThreadID;
        // Its own handle of the thread: the object closes its handle as it
        // deletes itself.
        const UniqueHandle thread = DuplicateOwnHandle(g_pWaitThread->m_hThread.Get());
        // A thread that has not made its message queue yet loses a posted
        // message: post again until the message is taken or the thread ended.
        while (!::PostThreadMessageW(threadId, WM_QUIT, 0, 0)
               && ::WaitForSingleObject(thread.Get(), kQueueRetryMs) == WAIT_TIMEOUT) {
        }
        ::WaitForSingleObject(thread.Get(), INFINITE);
    }
    // Also after a failed start, with what that start left in the token.
    g_gdiplusShutdown(g_gdiplusToken);
}
