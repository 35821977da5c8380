#include "PaintDC.h"

#include "Wnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(CWnd::SafeHwnd(wnd))
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}
