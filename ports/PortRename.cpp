#include "PortRename.h"

#include "ChgPortDlg.h"
#include "DeviceRestart.h"
#include "ForEachPortDevice.h"
#include "PortList.h"
#include "RegistryKey.h"

#include "res/resource.h"

#include "framework/AppMessageBox.h"
#include "framework/FormatText.h"
#include "framework/ListCtrl.h"
#include "framework/SetupApi.h"
#include "framework/WaitCursor.h"

#include <cwchar>
#include <string>

namespace {
// "description (new name)"; the new name alone when the device has no
// readable description, since the buffer then still holds the old name.
std::wstring FriendlyName(HDEVINFO devices, PSP_DEVINFO_DATA device, wchar_t* buffer, DWORD bufferBytes,
                          LPCWSTR newName)
{
    if (!SetupApi::Get().SetupDiGetDeviceRegistryPropertyW(devices, device, SPDRP_DEVICEDESC, nullptr,
                                                           reinterpret_cast<PBYTE>(buffer), bufferBytes, nullptr))
        return newName;
    buffer[bufferBytes / sizeof(wchar_t) - 1] = L'\0';
    if (buffer[0] == L'\0')
        return newName;
    return FormatText(L"%s (%s)", buffer, newName);
}

// Restarts the device so that its driver takes up the new name, then gives it
// its new friendly name. A failed restart is reported and the rest still done.
void ApplyNewName(HDEVINFO devices, PSP_DEVINFO_DATA device, wchar_t* buffer, DWORD bufferBytes, LPCWSTR newName)
{
    CWaitCursor wait;

    SP_PROPCHANGE_PARAMS params = {};
    params.ClassInstallHeader.cbSize = sizeof(params.ClassInstallHeader);
    params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
    params.StateChange = DICS_PROPCHANGE;
    params.Scope = DICS_FLAG_GLOBAL;
    params.HwProfile = 0;
    SetupApi::Get().SetupDiSetClassInstallParamsW(devices, device, &params.ClassInstallHeader, sizeof(params));

    if (!RestartPortDevice(devices, device)) {
        const DWORD error = ::GetLastError();
        AppMessageBox(FormatText(L"ChangeState fails: %d\n", static_cast<int>(error)).c_str(), MB_ICONWARNING);
    }

    const std::wstring friendlyName = FriendlyName(devices, device, buffer, bufferBytes, newName);
    SetupApi::Get().SetupDiSetDeviceRegistryPropertyW(devices, device, SPDRP_FRIENDLYNAME,
                                                      reinterpret_cast<const BYTE*>(friendlyName.c_str()),
                                                      static_cast<DWORD>((friendlyName.size() + 1) * sizeof(wchar_t)));
}

// Gives the first present port device whose "PortName" is exactly
// currentName the new name; true once that is done.
bool RenameDevice(HWND mainWnd, LPCWSTR currentName, LPCWSTR newName)
{
    wchar_t name[100];
    bool renamed = false;
    ForEachPortDevice(mainWnd, KEY_READ | KEY_WRITE, name, sizeof(name) / sizeof(name[0]),
                      [&](HDEVINFO devices, PSP_DEVINFO_DATA device, RegistryKey& key) {
                          if (std::wcscmp(name, currentName) != 0)
                              return true;
                          if (key.SetStringValue(L"PortName", newName, REG_SZ) == ERROR_SUCCESS) {
                              ApplyNewName(devices, device, name, sizeof(name), newName);
                              renamed = true;
                          }
                          return false;
                      });
    return renamed;
}
}

void PortRename(HWND mainWnd, CListCtrl& list)
{
    if (list.GetSelectedCount() == 0) {
        AppMessageBox(IDS_SELECT_PORT, MB_ICONWARNING);
        return;
    }
    const std::wstring currentName = list.GetItemText(list.GetNextItem(-1, LVNI_SELECTED), 0);

    CChgPortDlg dialog;
    dialog.SetCurrentName(currentName.c_str());
    // The dialog does not end with OK without a name; an empty one is never stored all the same.
    if (dialog.DoModal() != IDOK || *dialog.GetChosenName() == L'\0')
        return;

    if (RenameDevice(mainWnd, currentName.c_str(), dialog.GetChosenName()))
        PortListRefresh(mainWnd, list);
}
