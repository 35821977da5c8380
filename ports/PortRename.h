// Chg. Port No.: moves the port of the list's first selected row to a free
// name of its kind that the user picks.
#pragma once

#include <windows.h>
#include <setupapi.h>

class CListCtrl;

// Stores the picked name as the "PortName" of the first present port device
// that carries the row's name, restarts that device, names it "description
// (new name)" and refreshes the list. Asks for a selection when there is none.
void PortRename(HWND mainWnd, CListCtrl& list);

// Test seam: opens a device's hardware key for the rename, with the
// signature of SetupDiOpenDevRegKey; null puts SetupDiOpenDevRegKey back.
// Returns the function it replaces.
using DeviceKeyOpenFunction = HKEY(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, DWORD, DWORD, REGSAM);
DeviceKeyOpenFunction SetDeviceKeyOpenFunction(DeviceKeyOpenFunction function);
