// The busy indicator's window: a grey box with eight spokes whose colours
// move one place clockwise on every tick.
#pragma once

#include "framework/Wnd.h"

namespace Gdiplus {
class Graphics;
}

class CWaitWin : public CWnd {
public:
    // Draws the box at phase from the origin of graphics: the background, then
    // each spoke outlined and filled. The paint uses it on the window; tests on
    // a bitmap.
    static void DrawSpinner(Gdiplus::Graphics& graphics, UINT32 phase);

protected:
    void OnPaint();
    void OnTimer(UINT_PTR timerId);

    DECLARE_MESSAGE_MAP()

private:
    UINT32 SpinnerPhase = 0;
};
