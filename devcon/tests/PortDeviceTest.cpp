// The port device library on its own: what the other tests use to make devices and
// port database entries that devcon would not make.

#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PortDevice.h"
#include "PortInterface.h"
#include "framework/SetupApi.h"

namespace
{

const wchar_t kTestId[] = L"TavrinTest\\Port";


// Whether the device is listed through the port interface, and its "PortName" if it has one.
bool FindListed(const std::wstring& instanceId, std::wstring& portName)
{
    portName.clear();
    const HDEVINFO opened =
        SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (opened == INVALID_HANDLE_VALUE)
        return false;
    const DeviceInfoSet set(opened);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.Get(), index, &device); ++index)
    {
        wchar_t id[MAX_PATH] = {};
        if (!SetupDiGetDeviceInstanceIdW(set.Get(), &device, id, ARRAYSIZE(id), nullptr) || instanceId != id)
            continue;
        const HKEY key = SetupDiOpenDevRegKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key != INVALID_HANDLE_VALUE)
        {
            const UniqueRegKey owner(key);
            wchar_t name[32] = {};
            DWORD size = sizeof(name) - sizeof(name[0]);
            if (RegQueryValueExW(owner.Get(), L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size) ==
                ERROR_SUCCESS)
                portName = name;
        }
        return true;
    }
    return false;
}

class PortDeviceTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::RemoveByHardwareId(kTestId, removed));
    }
};

TEST_F(PortDeviceTest, CreateWithoutNameListsDeviceWithoutPortName)
{
    std::wstring instanceId;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::Create(kTestId, L"Test Port", nullptr, instanceId));
    EXPECT_EQ(0u, instanceId.rfind(L"ROOT\\PORTS\\", 0)) << "instance ID";
    std::wstring portName;
    EXPECT_TRUE(FindListed(instanceId, portName));
    EXPECT_TRUE(portName.empty());
}

TEST_F(PortDeviceTest, RemoveByInstanceIdTakesDeviceAndDatabaseEntry)
{
    std::wstring instanceId;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::Create(kTestId, L"Test Port", L"COM200", instanceId));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              PortDevice::RecordPortName(PortDevice::Kind::Serial, instanceId.c_str(), L"COM200"));
    std::wstring portName;
    EXPECT_TRUE(FindListed(instanceId, portName));
    EXPECT_EQ(L"COM200", portName);

    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::Remove(instanceId.c_str()));

    EXPECT_FALSE(FindListed(instanceId, portName));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), PortDevice::ForgetPortName(instanceId.c_str()));
}

TEST_F(PortDeviceTest, RemoveByHardwareIdReportsEachDevice)
{
    std::wstring named;
    std::wstring nameless;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::Create(kTestId, L"Test Port", L"LPT3", named));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::Create(kTestId, L"Test Port", nullptr, nameless));

    std::vector<PortDevice::Removed> removed;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::RemoveByHardwareId(L"tavrintest\\PORT", removed));

    ASSERT_EQ(2u, removed.size());
    for (const PortDevice::Removed& device : removed)
        EXPECT_EQ(device.instanceId == named ? L"LPT3" : L"", device.portName) << "device";
    EXPECT_NE(removed[0].instanceId, removed[1].instanceId);
}

TEST_F(PortDeviceTest, FreePortNameSkipsRecordedNames)
{
    std::wstring first;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::FreePortName(PortDevice::Kind::Parallel, first));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              PortDevice::RecordPortName(PortDevice::Kind::Parallel, L"TavrinTest\\Entry", first.c_str()));
    std::wstring next;
    const DWORD error = PortDevice::FreePortName(PortDevice::Kind::Parallel, next);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::ForgetPortName(L"TavrinTest\\Entry"));
    if (first == L"LPT3")
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), error);
    else
        EXPECT_GT(std::stoi(next.substr(3)), std::stoi(first.substr(3))) << "next free name";
    std::wstring again;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::FreePortName(PortDevice::Kind::Parallel, again));
    EXPECT_EQ(first, again);
}

} // namespace
