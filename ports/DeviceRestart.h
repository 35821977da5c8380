// Restarting a device so that its driver takes up changed settings.
#pragma once

#include <windows.h>
#include <setupapi.h>

// SetupDiChangeState for the device, after its property-change parameters
// have been installed. FALSE with the last error set when the restart failed;
// ERROR_CALL_NOT_IMPLEMENTED where the platform cannot restart devices.
BOOL WINAPI RestartDevice(HDEVINFO devices, PSP_DEVINFO_DATA device);

// Test seam: the restart the rename calls, RestartDevice, so that a test can
// take the place of a platform that cannot restart.
extern decltype(&RestartDevice) g_restartDevice;
