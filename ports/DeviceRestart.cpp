#include "DeviceRestart.h"

#include "common/TraceLog.h"
#include "framework/SetupApi.h"
#include "framework/SystemLibrary.h"
#include "package/DeviceCommand.h"
#include "package/DriverPackage.h"
#include "package/ExtractedPackage.h"

#include <cfgmgr32.h>

#include <optional>
#include <string>

decltype(&RestartDevice) g_restartDevice = &RestartDevice;

namespace {
// Wine's setupapi exports SetupDiChangeState only as a stub that ends the
// process when called; Wine is known by ntdll's wine_get_version export.
bool PlatformRestartsDevices()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return !ntdll || !::GetProcAddress(ntdll, "wine_get_version");
}

// Looked up at run time: Windows XP before its second service pack lacks it.
bool RunsUnderWow64()
{
    using IsWow64Call = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = KernelFunction<IsWow64Call>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

// devcon of the package, a native program, restarts the device by its
// instance ID; true when it exited with 0.
bool RestartThroughDevcon(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    wchar_t instanceId[MAX_DEVICE_ID_LEN] = {};
    if (!SetupApi::Get().SetupDiGetDeviceInstanceIdW(devices, device, instanceId, MAX_DEVICE_ID_LEN, nullptr))
        return false;
    const std::optional<DriverPackage> package = LoadDriverPackage();
    if (!package)
        return false;
    ExtractedPackage extracted;
    DWORD exitCode = kExitCodeUnknown;
    if (!extracted.Extract(package->pData, package->cbData) ||
        !extracted.Run(L"restart \"@" + std::wstring(instanceId) + L"\"", false, L"start to restart\n", exitCode))
        return false;
    if (exitCode != 0)
        TraceLog(L"process exit with %u\n", exitCode);
    return exitCode == 0;
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

BOOL RestartPortDevice(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    if (g_restartDevice(devices, device))
        return TRUE;
    const DWORD error = ::GetLastError();
    if (error == ERROR_IN_WOW64 && RunsUnderWow64() && RestartThroughDevcon(devices, device))
        return TRUE;
    ::SetLastError(error);
    return FALSE;
}
