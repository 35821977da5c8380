// The busy indicator's user-interface thread: it owns the indicator window
// and runs its message loop until it is told to quit.
#pragma once

#include "WaitWin.h"

#include "framework/WinThread.h"

class CWaitThread : public CWinThread {
    DECLARE_DYNCREATE(CWaitThread)

public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CWaitWin m_waitWin;
};
