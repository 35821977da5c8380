// The application object: one per process, named after the executable; it
// runs the tool's main dialog and keeps the wait-cursor count.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to end the process once it has done its work.
    virtual BOOL InitInstance();

    // The executable's base name, the caption of every message box.
    LPCWSTR AppName() const { return m_appName.c_str(); }
    HICON LoadIcon(UINT id) const;

    void BeginWaitCursor();
    void EndWaitCursor();
    int WaitCursorCount() const { return m_waitCursorCount; }

    CWnd* m_pMainWnd = nullptr;

private:
    std::wstring m_appName;
    int m_waitCursorCount = 0;
    HCURSOR m_restoreCursor = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The framework's entry routine: restricts the DLL search, initialises
// common controls and runs the application object. Returns the process exit
// code.
int AfxWinMain();
