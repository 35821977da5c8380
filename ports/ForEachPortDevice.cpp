#include "ForEachPortDevice.h"

#include "PortInterface.h"
#include "RegistryKey.h"

#include "framework/SetupApi.h"

void ForEachPortDevice(HWND owner, REGSAM access, wchar_t* name, ULONG chars, const PortDeviceVisit& visit)
{
    const SetupApi& setup = SetupApi::Get();
    DeviceInfoSet devices(
        setup.SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, owner, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!devices)
        return;

    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; setup.SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        RegistryKey key(setup.SetupDiOpenDevRegKey(devices.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, access));
        if (key.Handle() == INVALID_HANDLE_VALUE)
            continue;
        ULONG read = chars;
        if (key.QueryStringValue(L"PortName", name, &read) != ERROR_SUCCESS)
            continue;
        if (!visit(devices.Get(), &device, key))
            return;
    }
}
