// Makes the progress dialog's thread creation call another function while the
// object lives.
#pragma once

#include "install/WaitDialog.h"

#include "support/ScopedSwap.h"

#include <windows.h>

class ThreadCreation : public ScopedSwap<decltype(CWaitDialog::s_createThread)> {
public:
    explicit ThreadCreation(decltype(&::CreateThread) replacement) : ScopedSwap(CWaitDialog::s_createThread, replacement)
    {
    }

    // A thread creation that fails, as when the system is out of resources.
    static HANDLE WINAPI Failing(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
};
