// Thin wrapper of a progress-bar control.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};
