// The package subfolder whose devcon runs on the Windows the test runs on:
// "amd64" on 64-bit Windows (a 32-bit test under WoW64 included), "x86" on
// 32-bit Windows. Asked of IsWow64Process, not of GetNativeSystemInfo as the
// tool asks, so that the two answers check each other.
#pragma once

#include <windows.h>

// Whether the test runs as a 32-bit process on 64-bit Windows.
inline bool TestRunsUnderWow64()
{
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

inline const wchar_t* WindowsArch()
{
#ifdef _WIN64
    return L"amd64";
#else
    return TestRunsUnderWow64() ? L"amd64" : L"x86";
#endif
}
