#include "PortList.h"

#include "PortInterface.h"
#include "RegistryKey.h"

#include "framework/ListCtrl.h"
#include "framework/SetupApi.h"
#include "framework/UniqueResource.h"

#include <setupapi.h>

namespace {
void FillRows(HWND mainWnd, CListCtrl& list)
{
    list.DeleteAllItems();

    const SetupApi& setup = SetupApi::Get();
    DeviceInfoSet devices(
        setup.SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, mainWnd, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!devices)
        return;

    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; setup.SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        RegistryKey key(setup.SetupDiOpenDevRegKey(devices.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ));
        if (key.Handle() == INVALID_HANDLE_VALUE)
            continue;
        wchar_t portName[10];
        ULONG chars = sizeof(portName) / sizeof(portName[0]);
        if (key.QueryStringValue(L"PortName", portName, &chars) != ERROR_SUCCESS)
            continue;
        int row = list.InsertItem(list.GetItemCount(), portName);
        list.SetItemText(row, 1, L"USB");
    }
}
}

void PortListRefresh(HWND mainWnd, CListCtrl& list)
{
    // A repaint per row costs more than reading the devices: the rows go in
    // with painting off and the list is painted once. Painting is left alone
    // in a list that is not shown, which turning it on again would show.
    const bool shown = (list.GetStyle() & WS_VISIBLE) != 0;
    if (shown)
        list.SetRedraw(FALSE);
    FillRows(mainWnd, list);
    if (shown) {
        list.SetRedraw(TRUE);
        list.Invalidate();
    }
}
