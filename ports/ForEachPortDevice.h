// The one walk over the present port devices, shared by the list and the
// rename.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <functional>

class RegistryKey;

// Gets the device set, one device of it and the device's open hardware key,
// whose "PortName" the walk has just read; returns false to end the walk.
using PortDeviceVisit = std::function<bool(HDEVINFO devices, PSP_DEVINFO_DATA device, RegistryKey& key)>;

// Visits, in the order the setup functions enumerate them, the present devices
// of the port interface class whose hardware key opens with access and whose
// "PortName" reads into name, of chars characters with the terminator; a
// device that does not is passed over. owner is the window of the device set.
void ForEachPortDevice(HWND owner, REGSAM access, wchar_t* name, ULONG chars, const PortDeviceVisit& visit);
