// Makes the progress dialog's thread creation call another function while the
// object lives.
#pragma once

#include <windows.h>

class ThreadCreation {
public:
    explicit ThreadCreation(decltype(&::CreateThread) replacement);
    ~ThreadCreation();
    ThreadCreation(const ThreadCreation&) = delete;
    ThreadCreation& operator=(const ThreadCreation&) = delete;

    // A thread creation that fails, as when the system is out of resources.
    static HANDLE WINAPI Failing(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
};
