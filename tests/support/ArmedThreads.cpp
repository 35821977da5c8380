#include "ArmedThreads.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {
// The test's thread and the workers it starts; a few at most.
std::atomic<DWORD> g_armed[8];
}

ArmedThreads::ArmedThreads(Start start)
{
    if (start == ArmCallingThread)
        Arm(::GetCurrentThreadId());
}

ArmedThreads::~ArmedThreads()
{
    DisarmAll();
}

void ArmedThreads::Arm(DWORD threadId)
{
    for (std::atomic<DWORD>& slot : g_armed) {
        DWORD empty = 0;
        if (slot.compare_exchange_strong(empty, threadId))
            return;
    }
    ADD_FAILURE() << "too many armed threads";
}

bool ArmedThreads::IsArmed(DWORD threadId)
{
    for (const std::atomic<DWORD>& slot : g_armed) {
        if (slot.load() == threadId)
            return true;
    }
    return false;
}

void ArmedThreads::DisarmAll()
{
    for (std::atomic<DWORD>& slot : g_armed)
        slot.store(0);
}

HANDLE WINAPI ArmedThreads::CreateArmedThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                              LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                                              LPDWORD threadId)
{
    DWORD id = 0;
    HANDLE thread = ::CreateThread(security, stackSize, routine, parameter, flags | CREATE_SUSPENDED, &id);
    if (thread) {
        Arm(id);
        if (!(flags & CREATE_SUSPENDED))
            ::ResumeThread(thread);
    }
    if (threadId)
        *threadId = id;
    return thread;
}
