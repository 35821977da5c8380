// The threads whose platform calls injected faults count and may fail; calls
// of every other thread (the test's dialog driver, say) go through untouched.
#pragma once

#include <windows.h>

class ArmedThreads {
public:
    enum Start { ArmCallingThread, ArmLater };
    // Arms the calling thread, or none yet, until the object goes; then every
    // thread is disarmed.
    explicit ArmedThreads(Start start = ArmCallingThread);
    ~ArmedThreads();
    ArmedThreads(const ArmedThreads&) = delete;
    ArmedThreads& operator=(const ArmedThreads&) = delete;

    static void Arm(DWORD threadId);
    static bool IsArmed(DWORD threadId);

    // Creates a thread as CreateThread does, armed before it runs its first instruction.
    static HANDLE WINAPI CreateArmedThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                           LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                                           LPDWORD threadId);

private:
    static void DisarmAll();
};
