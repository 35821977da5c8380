// The device context of one paint cycle: BeginPaint for the lifetime of the
// object, EndPaint when it goes.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC m_hDC;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
