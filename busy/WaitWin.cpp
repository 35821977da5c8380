#include "WaitWin.h"

#include "SpinnerLayout.h"

#include "framework/PaintDC.h"

#include <gdiplus.h>

BEGIN_MESSAGE_MAP(CWaitWin, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CWaitWin::DrawSpinner(Gdiplus::Graphics& graphics, UINT32 phase)
{
    // No status is looked at: a call that fails leaves the rest to run.
    Gdiplus::SolidBrush background{ Gdiplus::Color(kBusyBackground) };
    graphics.FillRectangle(&background, 0, 0, kBusyBoxWidth, kBusyBoxHeight);
    for (const Spoke& spoke : SpokeLayout(phase)) {
        graphics.ResetTransform();
        graphics.TranslateTransform(kSpinnerCentreX, kSpinnerCentreY, Gdiplus::MatrixOrderPrepend);
        graphics.RotateTransform(spoke.angle, Gdiplus::MatrixOrderPrepend);
        Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
        path.AddRectangle(Gdiplus::Rect(kSpokeLeft, kSpokeTop, kSpokeLength, kSpokeThickness));
        const Gdiplus::Color colour(spoke.argb);
        Gdiplus::Pen outline(colour, 1.0f);
        graphics.DrawPath(&outline, &path);
        Gdiplus::SolidBrush fill(colour);
        graphics.FillPath(&fill, &path);
    }
}

void CWaitWin::OnPaint()
{
    // GDI+ lets go of the paint DC before EndPaint releases it.
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(dc.m_hDC);
    DrawSpinner(graphics, SpinnerPhase);
}

void CWaitWin::OnTimer(UINT_PTR /*timerId*/)
{
    // A window made without a main window has no parent to follow: it stays
    // where it is and only the pattern turns.
    RECT parentRect = {};
    HWND parent = ::GetParent(m_hWnd);
    if (parent && ::GetWindowRect(parent, &parentRect)) {
        const RECT box = CentredBusyBox(parentRect);
        SetWindowPos(nullptr, box.left, box.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ++SpinnerPhase;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
