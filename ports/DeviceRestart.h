// Restarting a device so that its driver takes up changed settings.
#pragma once

#include <windows.h>
#include <setupapi.h>

// SetupDiChangeState for the device, after its property-change parameters
// have been installed. FALSE with the last error set when the restart failed;
// ERROR_CALL_NOT_IMPLEMENTED where the platform cannot restart devices.
BOOL RestartDevice(HDEVINFO devices, PSP_DEVINFO_DATA device);

// Test seam: the function that restarts, with the signature of
// SetupDiChangeState; null puts the platform's back. Returns the function it
// replaces (null while the platform's is in use).
using DeviceRestartFunction = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA);
DeviceRestartFunction SetDeviceRestartFunction(DeviceRestartFunction function);
