#include "InstallTestSupport.h"

#include "res/resource.h"

#include "framework/ResourceString.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

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
