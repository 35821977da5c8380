// What a process holds, counted from outside as well as from inside: its
// open handles and its threads.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

// The process's open handles, counted in the system's handle table:
// GetProcessHandleCount always reports 0 under Wine.
size_t CountProcessHandles(DWORD processId = ::GetCurrentProcessId());
// The ids of the process's threads in a Toolhelp snapshot.
std::vector<DWORD> ProcessThreadIds(DWORD processId);
int CountProcessThreads(DWORD processId = ::GetCurrentProcessId());
