#include "WinThread.h"

#include "common/TraceLog.h"

const CRuntimeClass CWinThread::classCWinThread = { "CWinThread", nullptr, nullptr };

CWinThread::CWinThread() = default;
CWinThread::~CWinThread() = default;

const CRuntimeClass* CWinThread::GetRuntimeClass() const
{
    return &classCWinThread;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return 0;
}

int CWinThread::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    // Started suspended so that the handle and id are stored before the
    // thread can run (and, with auto-deletion, delete this object).
    DWORD id = 0;
    HANDLE thread = ::CreateThread(security, stackSize, &CWinThread::ThreadEntry, this,
                                   createFlags | CREATE_SUSPENDED, &id);
    if (!thread)
        return FALSE;
    m_hThread.Reset(thread);
    m_nThreadID = id;
    if (!(createFlags & CREATE_SUSPENDED))
        ::ResumeThread(thread);
    return TRUE;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID param)
{
    CWinThread* thread = static_cast<CWinThread*>(param);
    int exitCode = 0;
    try {
        exitCode = thread->InitInstance() ? thread->Run() : thread->ExitInstance();
    } catch (...) {
        TraceLog(L"exception in thread %lu\n", ::GetCurrentThreadId());
        exitCode = -1;
    }
    if (thread->m_bAutoDelete)
        delete thread;
    return static_cast<DWORD>(exitCode);
}

CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES security)
{
    if (!threadClass || !threadClass->m_pfnCreateObject)
        return nullptr;
    CWinThread* thread = threadClass->m_pfnCreateObject();
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    ::SetThreadPriority(thread->m_hThread.Get(), priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
