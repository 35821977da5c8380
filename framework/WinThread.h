// A user-interface thread: an object whose thread runs InitInstance, a message
// loop and ExitInstance, and that deletes itself when the thread ends.
#pragma once

#include "UniqueResource.h"

#include <windows.h>

class CWinThread;
class CWnd;

// What AfxBeginThread needs to make a thread object of a class it is given.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CWinThread* (*m_pfnCreateObject)();
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNCREATE(theClass)                                   \
public:                                                               \
    static const CRuntimeClass class##theClass;                       \
    static CWinThread* CreateObject();                                \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                      \
    CWinThread* theClass::CreateObject() { return new theClass; }     \
    const CRuntimeClass theClass::class##theClass = {                 \
        #theClass, RUNTIME_CLASS(baseClass), &theClass::CreateObject }; \
    const CRuntimeClass* theClass::GetRuntimeClass() const { return RUNTIME_CLASS(theClass); }

class CWinThread {
public:
    static const CRuntimeClass classCWinThread;

    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Runs on the new thread; FALSE skips the message loop.
    virtual BOOL InitInstance();
    // Its result is the thread's exit code.
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result after WM_QUIT.
    virtual int Run();
    virtual CWnd* GetMainWnd();

    BOOL CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread.Get()); }

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    UniqueHandle m_hThread;
    DWORD m_nThreadID = 0;

private:
    static DWORD WINAPI ThreadEntry(LPVOID param);
};

// Makes an object of the class and starts its thread; null when either fails.
CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
