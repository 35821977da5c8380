#include "DeviceRestart.h"

#include "framework/SetupApi.h"

decltype(&RestartDevice) g_restartDevice = &RestartDevice;

namespace {
// Wine's setupapi exports SetupDiChangeState only as a stub that ends the
// process when called; Wine is known by ntdll's wine_get_version export.
bool PlatformRestartsDevices()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return !ntdll || !::GetProcAddress(ntdll, "wine_get_version");
}
}

BOOL WINAPI RestartDevice(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    if (!PlatformRestartsDevices()) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return SetupApi::Get().SetupDiChangeState(devices, device);
}
