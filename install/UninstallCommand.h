// The Uninstall button: with a row selected, removes every port device of this
// system (serial, parallel and the earlier version's) with devcon, on the
// user-interface thread under the wait cursor.
#pragma once

#include <windows.h>

class CListCtrl;

// owner is the window of the work folder's deletion and of the list's device
// set; list is the main window's port list.
void UninstallCommand(HWND owner, CListCtrl& list);
