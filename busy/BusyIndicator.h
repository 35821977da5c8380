// The busy indicator: a small animated window on a user-interface thread of
// its own, centred over the main window. Start is the main window's last step
// of initialisation and Stop the first of its teardown, both on the main
// thread; there is no restart.
#pragma once

#include <windows.h>
#include <gdiplus.h>

class CWnd;
class CWinThread;
struct CRuntimeClass;

// Written by the main thread only: the token and the main window before the
// indicator thread exists, the thread object right after it has started. The
// indicator thread reads g_pMainWnd once, when it makes its window. Stop
// resets none of them.
extern ULONG_PTR g_gdiplusToken;
extern CWnd* g_pMainWnd;
// Null when the start failed; not owned, the object deletes itself when its
// thread ends.
extern CWinThread* g_pWaitThread;

// Starts GDI+ and then the indicator thread for mainWnd (which may be null or
// have no window). Nothing starts when GDI+ does not.
void BusyIndicatorStart(CWnd* mainWnd);
// Ends the indicator thread, with its window, and waits for it; then shuts
// GDI+ down.
void BusyIndicatorStop();

// Test seams: the calls that start and end GDI+ and the indicator thread.
extern decltype(&Gdiplus::GdiplusStartup) g_gdiplusStartup;
extern decltype(&Gdiplus::GdiplusShutdown) g_gdiplusShutdown;
extern CWinThread* (*g_beginThread)(const CRuntimeClass* threadClass, int priority, UINT stackSize,
                                    DWORD createFlags, LPSECURITY_ATTRIBUTES security);
