// Fills the main window's list with the port devices present.
#pragma once

#include <windows.h>

class CListCtrl;

// One row per present device of the port interface class with a readable
// "PortName" of fewer than 10 characters: the name, then "USB".
void PortListRefresh(HWND mainWnd, CListCtrl& list);
