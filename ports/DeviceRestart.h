// Restarting a device so that its driver takes up changed settings.
#pragma once

#include <windows.h>
#include <setupapi.h>

// SetupDiChangeState for the device, after its property-change parameters
// have been installed. FALSE with the last error set when the restart failed;
// ERROR_CALL_NOT_IMPLEMENTED where the platform cannot restart devices.
BOOL WINAPI RestartDevice(HDEVINFO devices, PSP_DEVINFO_DATA device);

// Test seam: the in-process restart, RestartDevice, so that a test can take
// the place of a platform that cannot restart.
extern decltype(&RestartDevice) g_restartDevice;

// Restarts the device in process. Where 64-bit Windows refuses that to this
// 32-bit process (ERROR_IN_WOW64), the package's native devcon restarts it
// instead. FALSE, with the in-process restart's error, when neither did.
BOOL RestartPortDevice(HDEVINFO devices, PSP_DEVINFO_DATA device);
