// Runs the device console stand-in as the setup program does and checks the devices
// and the port database it leaves behind. TAVRIN_DEVCON names devcon.exe and
// TAVRIN_INF_DIR the folder holding Tavrin.inf, which is devcon's current folder.

#include <windows.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "PortDevice.h"
#include "PortInterface.h"
#include "framework/SetupApi.h"
#include "support/TestPortDevices.h"

namespace
{

const wchar_t kSerialId[] = L"RUD\\VSerPort";
const wchar_t kParallelId[] = L"RUD\\VParPort";
const wchar_t kSerialDatabase[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
const wchar_t kParallelDatabase[] = L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS";
// Value name of a port database entry that belongs to no device.
const wchar_t kBlocker[] = L"TavrinTest\\Blocker";

const DWORD kExitSuccess = 0;
const DWORD kExitUsage = 1;
const DWORD kExitInfMissing = 2;
const DWORD kExitNotOffered = 3;
const DWORD kExitNoMatch = 4;
// Reported when devcon could not be run at all.
const DWORD kNotRun = 0xFFFFFFFF;


struct Outcome
{
    DWORD exitCode = kNotRun;
    std::string output; // standard output and error together
};

// A present device that exposes the port interface.
struct ListedPort
{
    std::wstring portName; // empty without a "PortName" value
    std::wstring friendlyName;
    std::wstring description;
};

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], size));
    return value;
}

std::string Narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(narrow.find('\0'));
    return narrow;
}

std::wstring TextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property)
{
    wchar_t text[256] = {};
    // The last character stays a terminator.
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                           sizeof(text) - sizeof(text[0]), nullptr))
        return {};
    return text;
}

std::wstring PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device)
{
    const HKEY opened = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (opened == INVALID_HANDLE_VALUE)
        return {};
    const UniqueRegKey key(opened);
    wchar_t name[32] = {};
    DWORD size = sizeof(name) - sizeof(name[0]);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return name;
}

// Every present device of the port interface class, by instance ID, found the way the
// setup program lists its ports.
std::map<std::wstring, ListedPort> ListedPorts()
{
    std::map<std::wstring, ListedPort> ports;
    const HDEVINFO opened =
        SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (opened == INVALID_HANDLE_VALUE)
    {
        ADD_FAILURE() << "SetupDiGetClassDevsW failed: " << GetLastError();
        return ports;
    }
    const DeviceInfoSet set(opened);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.Get(), index, &device); ++index)
    {
        wchar_t instanceId[MAX_PATH] = {};
        if (!SetupDiGetDeviceInstanceIdW(set.Get(), &device, instanceId, ARRAYSIZE(instanceId), nullptr))
            continue;
        ports[instanceId] = {PortNameOf(set.Get(), device), TextProperty(set.Get(), device, SPDRP_FRIENDLYNAME),
                             TextProperty(set.Get(), device, SPDRP_DEVICEDESC)};
    }
    return ports;
}

// The string values of a port database key, by value name; none while the key is missing.
std::map<std::wstring, std::wstring> PortDatabase(const wchar_t* keyPath)
{
    std::map<std::wstring, std::wstring> entries;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return entries;
    const UniqueRegKey key(opened);
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[MAX_PATH] = {};
        wchar_t data[MAX_PATH] = {};
        DWORD nameLength = ARRAYSIZE(name);
        DWORD dataSize = sizeof(data) - sizeof(data[0]);
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataSize) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ)
            entries[name] = data;
    }
    return entries;
}

// The devices listed now that were not listed before.
std::map<std::wstring, ListedPort> Added(const std::map<std::wstring, ListedPort>& before,
                                         const std::map<std::wstring, ListedPort>& after)
{
    std::map<std::wstring, ListedPort> added;
    for (const auto& port : after)
    {
        if (before.count(port.first) == 0)
            added.insert(port);
    }
    return added;
}

std::wstring NextName(const std::wstring& name, int step)
{
    return name.substr(0, 3) + std::to_wstring(std::stoi(name.substr(3)) + step);
}

class DevconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        devcon_ = Environment(L"TAVRIN_DEVCON");
        infFolder_ = Environment(L"TAVRIN_INF_DIR");
        ASSERT_FALSE(devcon_.empty()) << "TAVRIN_DEVCON is not set";
        ASSERT_FALSE(infFolder_.empty()) << "TAVRIN_INF_DIR is not set";
    }

    void TearDown() override
    {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::RemoveByHardwareId(kSerialId, removed));
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::RemoveByHardwareId(kParallelId, removed));
        PortDevice::ForgetPortName(kBlocker);
    }

    // Runs devcon hidden, in the INF folder, as the setup program does, and collects its output.
    Outcome Run(const std::wstring& arguments) const
    {
        Outcome outcome;
        SECURITY_ATTRIBUTES inheritable = {};
        inheritable.nLength = sizeof(inheritable);
        inheritable.bInheritHandle = TRUE;
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        {
            ADD_FAILURE() << "CreatePipe failed: " << GetLastError();
            return outcome;
        }
        const UniqueHandle reader(readEnd);
        UniqueHandle writer(writeEnd);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        PROCESS_INFORMATION process = {};
        std::wstring commandLine = L"\"" + devcon_ + L"\" " + arguments;
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            infFolder_.c_str(), &startup, &process))
        {
            ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
            return outcome;
        }
        const UniqueHandle child(process.hProcess);
        const UniqueHandle thread(process.hThread);
        // Only the child holds the write end now, so reading ends when the child does.
        writer.Reset();
        char buffer[512];
        DWORD read = 0;
        while (ReadFile(reader.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
            outcome.output.append(buffer, read);
        WaitForSingleObject(child.Get(), INFINITE);
        if (!GetExitCodeProcess(child.Get(), &outcome.exitCode))
            ADD_FAILURE() << "GetExitCodeProcess failed: " << GetLastError();
        return outcome;
    }

    Outcome Install(const wchar_t* hardwareId) const
    {
        return Run(std::wstring(L"install Tavrin.inf ") + hardwareId);
    }

    // Installs one port and checks it everywhere; returns its instance ID.
    std::wstring InstallExpecting(const wchar_t* hardwareId, const std::wstring& portName, const wchar_t* description,
                                  const wchar_t* databaseKey) const
    {
        const std::map<std::wstring, ListedPort> before = ListedPorts();
        const Outcome outcome = Install(hardwareId);
        EXPECT_EQ(kExitSuccess, outcome.exitCode) << outcome.output;
        const std::map<std::wstring, ListedPort> added = Added(before, ListedPorts());
        EXPECT_EQ(1u, added.size());
        if (added.size() != 1)
            return {};
        const std::wstring& instanceId = added.begin()->first;
        const ListedPort& port = added.begin()->second;
        EXPECT_EQ(portName, port.portName);
        EXPECT_EQ(description, port.description);
        EXPECT_EQ(std::wstring(description) + L" (" + portName + L")", port.friendlyName);
        EXPECT_NE(std::string::npos, outcome.output.find(Narrow(instanceId + L": " + portName + L" added")))
            << outcome.output;
        const std::map<std::wstring, std::wstring> database = PortDatabase(databaseKey);
        const auto entry = database.find(instanceId);
        EXPECT_TRUE(entry != database.end() && entry->second == portName);
        return instanceId;
    }

    std::wstring devcon_;
    std::wstring infFolder_;
};

std::wstring FreeName(PortDevice::Kind kind)
{
    std::wstring name;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), PortDevice::FreePortName(kind, name));
    return name;
}

TEST_F(DevconTest, InstallSerialAddsLowestFreeComPort)
{
    const std::wstring expected = FreeName(PortDevice::Kind::Serial);
    ASSERT_EQ(0u, expected.rfind(L"COM", 0));
    InstallExpecting(kSerialId, expected, L"Virtual Serial Port", kSerialDatabase);
}

TEST_F(DevconTest, InstallParallelAddsLowestFreeLptPort)
{
    const std::wstring expected = FreeName(PortDevice::Kind::Parallel);
    ASSERT_EQ(0u, expected.rfind(L"LPT", 0));
    InstallExpecting(kParallelId, expected, L"Virtual Parallel Port", kParallelDatabase);
}

TEST_F(DevconTest, InstallAssignsNamesInOrderSkippingTakenOnes)
{
    const std::wstring first = FreeName(PortDevice::Kind::Serial);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              PortDevice::RecordPortName(PortDevice::Kind::Serial, kBlocker, NextName(first, 1).c_str()));
    InstallExpecting(kSerialId, first, L"Virtual Serial Port", kSerialDatabase);
    InstallExpecting(kSerialId, NextName(first, 2), L"Virtual Serial Port", kSerialDatabase);
}

TEST_F(DevconTest, RemoveSerialInAnyCaseLeavesParallel)
{
    const std::wstring serial = InstallExpecting(kSerialId, FreeName(PortDevice::Kind::Serial),
                                                 L"Virtual Serial Port", kSerialDatabase);
    const std::wstring parallel = InstallExpecting(kParallelId, FreeName(PortDevice::Kind::Parallel),
                                                   L"Virtual Parallel Port", kParallelDatabase);
    ASSERT_FALSE(serial.empty());
    ASSERT_FALSE(parallel.empty());
    const std::wstring serialName = ListedPorts()[serial].portName;

    const Outcome outcome = Run(L"remove rud\\vSERport");

    EXPECT_EQ(kExitSuccess, outcome.exitCode) << outcome.output;
    EXPECT_NE(std::string::npos, outcome.output.find(Narrow(serial + L": " + serialName + L" removed")))
        << outcome.output;
    const std::map<std::wstring, ListedPort> listed = ListedPorts();
    EXPECT_EQ(0u, listed.count(serial));
    EXPECT_EQ(1u, listed.count(parallel));
    EXPECT_EQ(0u, PortDatabase(kSerialDatabase).count(serial));
    EXPECT_EQ(1u, PortDatabase(kParallelDatabase).count(parallel));
}

TEST_F(DevconTest, RemoveWithNothingToMatchFails)
{
    const std::map<std::wstring, ListedPort> before = ListedPorts();
    const Outcome outcome = Run(L"remove RUD\\Tavrin");
    EXPECT_EQ(kExitNoMatch, outcome.exitCode) << outcome.output;
    EXPECT_EQ(before.size(), ListedPorts().size());
}

// A restarted device's driver records the name its "PortName" holds now, in
// the database of its kind.
TEST_F(DevconTest, RestartRecordsTheDevicesCurrentName)
{
    const std::wstring serial = InstallExpecting(kSerialId, FreeName(PortDevice::Kind::Serial),
                                                 L"Virtual Serial Port", kSerialDatabase);
    const std::wstring parallel = InstallExpecting(kParallelId, FreeName(PortDevice::Kind::Parallel),
                                                   L"Virtual Parallel Port", kParallelDatabase);
    struct Case
    {
        const std::wstring& instanceId;
        const wchar_t* newName;
        const wchar_t* database;
    };
    for (const Case& c : {Case{serial, L"COM211", kSerialDatabase}, Case{parallel, L"LPT3", kParallelDatabase}})
    {
        ASSERT_EQ(ERROR_SUCCESS, TestPortDevices::WritePortName(c.instanceId, REG_SZ, c.newName,
                                                                 static_cast<DWORD>((wcslen(c.newName) + 1) * 2)));
        const Outcome outcome = Run(L"restart \"@" + c.instanceId + L"\"");
        EXPECT_EQ(kExitSuccess, outcome.exitCode) << outcome.output;
        EXPECT_EQ(PortDatabase(c.database)[c.instanceId], c.newName);
    }
    EXPECT_EQ(kExitNoMatch, Run(L"restart @ROOT\\PORTS\\9999").exitCode);
}

TEST_F(DevconTest, BadUsagePrintsUsageWithExitCodes)
{
    for (const wchar_t* arguments : {L"", L"install Tavrin.inf", L"remove", L"remove RUD\\VSerPort extra",
                                     L"update Tavrin.inf RUD\\VSerPort", L"restart RUD\\VSerPort"})
    {
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(kExitUsage, outcome.exitCode) << "arguments: " << Narrow(arguments);
        EXPECT_NE(std::string::npos, outcome.output.find("exit codes")) << outcome.output;
    }
}

TEST_F(DevconTest, InstallWithMissingInfFails)
{
    const std::map<std::wstring, ListedPort> before = ListedPorts();
    const Outcome outcome = Run(L"install Missing.inf RUD\\VSerPort");
    EXPECT_EQ(kExitInfMissing, outcome.exitCode) << outcome.output;
    EXPECT_TRUE(Added(before, ListedPorts()).empty());
}

TEST_F(DevconTest, InstallOfHardwareIdNotOfferedFails)
{
    const std::map<std::wstring, ListedPort> before = ListedPorts();
    const Outcome outcome = Install(L"RUD\\Tavrin");
    EXPECT_EQ(kExitNotOffered, outcome.exitCode) << outcome.output;
    EXPECT_TRUE(Added(before, ListedPorts()).empty());
}

} // namespace
