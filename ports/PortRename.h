// Chg. Port No.: moves the port of the list's first selected row to a free
// name of its kind that the user picks.
#pragma once

#include <windows.h>

class CListCtrl;

// Stores the picked name as the "PortName" of the first present port device
// that carries the row's name, restarts that device, names it "description
// (new name)" and refreshes the list. Asks for a selection when there is none.
void PortRename(HWND mainWnd, CListCtrl& list);
