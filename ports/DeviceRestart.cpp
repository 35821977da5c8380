#include "DeviceRestart.h"

#include "framework/SetupApi.h"

namespace {
DeviceRestartFunction g_restart = nullptr;

// Wine's setupapi exports SetupDiChangeState only as a stub that ends the
// process when called; Wine is known by ntdll's wine_get_version export.
bool PlatformRestartsDevices()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return !ntdll || !::GetProcAddress(ntdll, "wine_get_version");
}
}

BOOL RestartDevice(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    if (g_restart)
        return g_restart(devices, device);
    if (!PlatformRestartsDevices()) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return SetupApi::Get().SetupDiChangeState(devices, device);
}

DeviceRestartFunction SetDeviceRestartFunction(DeviceRestartFunction function)
{
    DeviceRestartFunction previous = g_restart;
    g_restart = function;
    return previous;
}
