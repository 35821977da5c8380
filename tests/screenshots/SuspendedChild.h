// A child process of the program under test, held still: every thread of it
// is suspended while the object lives and resumed when it goes. Keeps the
// program in the state it shows while it waits for that child.
#pragma once

#include "framework/UniqueResource.h"

#include <windows.h>

#include <vector>

class SuspendedChild {
public:
    // Waits up to timeoutMs for a process started by parentId from an
    // executable of this name (such as L"devcon.exe") and suspends it.
    SuspendedChild(DWORD parentId, const wchar_t* exeName, DWORD timeoutMs);
    ~SuspendedChild();
    SuspendedChild(const SuspendedChild&) = delete;
    SuspendedChild& operator=(const SuspendedChild&) = delete;

    // False when no such child came, or it ended before it could be held.
    bool Held() const { return !m_threads.empty(); }

private:
    static DWORD FindChild(DWORD parentId, const wchar_t* exeName);
    void SuspendThreadsOf(DWORD processId);

    UniqueHandle m_process;  // keeps the id from being reused while held
    std::vector<UniqueHandle> m_threads;
};
