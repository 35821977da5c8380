#include "InstallTestSupport.h"

#include "app/MainDlg.h"
#include "ports/DeviceRestart.h"
#include "res/resource.h"

#include "framework/FormatText.h"
#include "framework/ResourceString.h"

#include "support/ScopedSwap.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

namespace {
BOOL WINAPI RefusedUnderWow64(HDEVINFO, PSP_DEVINFO_DATA)
{
    ::SetLastError(ERROR_IN_WOW64);
    return FALSE;
}
}

MessageBoxRecorder::Shown Box(UINT stringId, UINT iconFlag, bool underWaitCursor)
{
    return { LoadResourceString(stringId), MB_OK | iconFlag, underWaitCursor ? 1 : 0 };
}

bool operator==(const MessageBoxRecorder::Shown& a, const MessageBoxRecorder::Shown& b)
{
    return a.text == b.text && a.type == b.type && a.waitCursorCount == b.waitCursorCount;
}

void PrintTo(const MessageBoxRecorder::Shown& box, std::ostream* os)
{
    *os << testing::PrintToString(box.text) << " type 0x" << std::hex << box.type << std::dec
        << (box.waitCursorCount ? " under the wait cursor" : "");
}

DialogDriver::Action ChoosePortKind(PortKind kind)
{
    return [kind](HWND dialog) {
        EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_SERIAL_PORT), BM_GETCHECK, 0, 0), BST_CHECKED)
            << "the serial port is not preselected";
        if (kind != PortKindSerial)
            ::SendMessageW(::GetDlgItem(dialog, IDC_PARALLEL_PORT), BM_CLICK, 0, 0);
        DialogDriver::Click(IDOK)(dialog);
    };
}

std::vector<std::wstring> RemovePortDevices()
{
    std::vector<std::wstring> names;
    for (const wchar_t* id : { kSerialPortHardwareId, kParallelPortHardwareId, kOldVersionHardwareId }) {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(id, removed), static_cast<DWORD>(ERROR_SUCCESS));
        for (const PortDevice::Removed& device : removed)
            names.push_back(device.portName);
    }
    return names;
}

MessageBoxRecorder::Shown RestartFailedBox(DWORD error)
{
    return { FormatText(L"ChangeState fails: %d\n", static_cast<int>(error)), MB_OK | MB_ICONWARNING, 1 };
}

std::wstring RenameWithRestartRefusedAsUnderWow64(CMainDlg& main)
{
    const wchar_t hardwareId[] = L"TavrinTest\\Wow64Rename";
    // A name no other device has.
    const wchar_t portName[] = L"COM213";
    std::wstring instanceId;
    EXPECT_EQ(PortDevice::Create(hardwareId, L"Virtual Serial Port", portName, instanceId),
              static_cast<DWORD>(ERROR_SUCCESS));
    main.PortListRefresh();
    CListCtrl& list = main.PortList();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemText(row, 0) == portName)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    {
        ScopedSwap restart(g_restartDevice, &RefusedUnderWow64);
        DialogDriver driver({ [](HWND dialog) {
            ::SendMessageW(::GetDlgItem(dialog, IDC_PORT_NAME), CB_SETCURSEL, 0, 0);
            DialogDriver::Click(IDOK)(dialog);
        } });
        main.PortRename();
    }
    std::vector<PortDevice::Removed> removed;
    EXPECT_EQ(PortDevice::RemoveByHardwareId(hardwareId, removed), static_cast<DWORD>(ERROR_SUCCESS));
    return instanceId;
}
