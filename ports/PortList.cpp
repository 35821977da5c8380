#include "PortList.h"

#include "ForEachPortDevice.h"

#include "framework/ListCtrl.h"

namespace {
void FillRows(HWND mainWnd, CListCtrl& list)
{
    list.DeleteAllItems();

    wchar_t portName[10];
    ForEachPortDevice(mainWnd, KEY_READ, portName, sizeof(portName) / sizeof(portName[0]),
                      [&](HDEVINFO, PSP_DEVINFO_DATA, RegistryKey&) {
                          int row = list.InsertItem(list.GetItemCount(), portName);
                          list.SetItemText(row, 1, L"USB");
                          return true;
                      });
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
