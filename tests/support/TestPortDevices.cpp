#include "TestPortDevices.h"

#include "PortDevice.h"
#include "ports/PortInterface.h"
#include "ports/RegistryKey.h"

#include "framework/SetupApi.h"

#include <gtest/gtest.h>
#include <setupapi.h>

namespace {
const wchar_t kHardwareId[] = L"TavrinTest\\ListedPort";
const wchar_t kDescription[] = L"Tavrin Test Port";
}

TestPortDevices::TestPortDevices()
{
    RemoveAll();
}

TestPortDevices::~TestPortDevices()
{
    RemoveAll();
}

void TestPortDevices::RemoveAll()
{
    std::vector<PortDevice::Removed> removed;
    EXPECT_EQ(PortDevice::RemoveByHardwareId(kHardwareId, removed), static_cast<DWORD>(ERROR_SUCCESS));
}

std::wstring TestPortDevices::Add(const wchar_t* portName)
{
    std::wstring instanceId;
    EXPECT_EQ(PortDevice::Create(kHardwareId, kDescription, portName, instanceId), static_cast<DWORD>(ERROR_SUCCESS));
    return instanceId;
}

LONG TestPortDevices::WritePortName(const std::wstring& instanceId, DWORD type, const void* data, DWORD size)
{
    DeviceInfoSet devices(::SetupDiCreateDeviceInfoList(nullptr, nullptr));
    if (!devices)
        return static_cast<LONG>(::GetLastError());
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    if (!::SetupDiOpenDeviceInfoW(devices.Get(), instanceId.c_str(), nullptr, 0, &device))
        return static_cast<LONG>(::GetLastError());
    // A device made without a name has no hardware key yet.
    RegistryKey key(::SetupDiCreateDevRegKeyW(devices.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr));
    if (key.Handle() == INVALID_HANDLE_VALUE)
        return static_cast<LONG>(::GetLastError());
    // RegSetValueExW counts in a string's terminator that the size left out
    // when one follows in memory; the bytes after the data are not one.
    std::vector<BYTE> padded(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    padded.insert(padded.end(), sizeof(wchar_t), 0xFF);
    return ::RegSetValueExW(key.Handle(), L"PortName", 0, type, padded.data(), size);
}

std::vector<std::wstring> TestPortDevices::Enumerated()
{
    std::vector<std::wstring> ids;
    DeviceInfoSet devices(::SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, nullptr,
                                                 DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; devices && ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        wchar_t id[MAX_PATH] = {};
        if (::SetupDiGetDeviceInstanceIdW(devices.Get(), &device, id, sizeof(id) / sizeof(id[0]), nullptr))
            ids.push_back(id);
    }
    return ids;
}
