#include "PortDevice.h"

#include <cfgmgr32.h>
#include <setupapi.h>
// GUID_DEVCLASS_PORTS is defined here rather than taken from libuuid.
#include <initguid.h>
#include <devguid.h>

#include <algorithm>
#include <cwchar>

#include "PortInterface.h"
#include "framework/SetupApi.h"

namespace
{

// A failed call that left the last error at 0 must still read as a failure.
DWORD LastError()
{
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

struct PortDatabase
{
    const wchar_t* keyPath; // under HKEY_LOCAL_MACHINE
    const wchar_t* prefix;
    int highest;
};

// Indexed by PortDevice::Kind.
const PortDatabase kDatabases[] = {
    {L"HARDWARE\\DEVICEMAP\\SERIALCOMM", L"COM", 256},
    {L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", L"LPT", 3},
};

const PortDatabase& DatabaseOf(PortDevice::Kind kind)
{
    return kDatabases[static_cast<size_t>(kind)];
}

LONG OpenDatabase(const PortDatabase& database, REGSAM access, UniqueRegKey& key)
{
    HKEY raw = nullptr;
    const LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, database.keyPath, 0, access, &raw);
    if (error == ERROR_SUCCESS)
        key.Reset(raw);
    return error;
}

LONG SetString(HKEY key, const wchar_t* valueName, const wchar_t* text)
{
    return RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

// Empty when the value is missing or not a string.
std::wstring ReadString(HKEY key, const wchar_t* valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return {};
    // One spare character terminates data stored without a terminator.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) != ERROR_SUCCESS)
        return {};
    text.resize(text.find(L'\0'));
    return text;
}

// The data of every string value under the port database key; none while the key does not exist.
DWORD TakenNames(const PortDatabase& database, std::vector<std::wstring>& names)
{
    UniqueRegKey key;
    LONG error = OpenDatabase(database, KEY_QUERY_VALUE, key);
    if (error == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (error != ERROR_SUCCESS)
        return error;
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    error = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                             &longestData, nullptr, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    std::vector<wchar_t> valueName(longestName + 1);
    // The last character is never written, so the data always end in a terminator.
    std::vector<wchar_t> data(longestData / sizeof(wchar_t) + 2);
    for (DWORD index = 0; index < count; ++index)
    {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        DWORD dataSize = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
        DWORD type = 0;
        std::fill(data.begin(), data.end(), L'\0');
        error = RegEnumValueW(key.Get(), index, valueName.data(), &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (error != ERROR_SUCCESS)
            return error;
        if (type == REG_SZ)
            names.emplace_back(data.data());
    }
    return ERROR_SUCCESS;
}

BOOL SetTextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, const std::wstring& text)
{
    return SetupDiSetDeviceRegistryPropertyW(set, &device, property, reinterpret_cast<const BYTE*>(text.c_str()),
                                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

DWORD InstanceIdOf(HDEVINFO set, SP_DEVINFO_DATA& device, std::wstring& instanceId)
{
    wchar_t buffer[MAX_DEVICE_ID_LEN];
    if (!SetupDiGetDeviceInstanceIdW(set, &device, buffer, ARRAYSIZE(buffer), nullptr))
        return LastError();
    instanceId = buffer;
    return ERROR_SUCCESS;
}

std::wstring PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device)
{
    const UniqueRegKey key = UniqueRegKey(SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE));
    return key ? ReadString(key.Get(), L"PortName") : std::wstring();
}

bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA& device, const wchar_t* wanted)
{
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, nullptr, nullptr, 0, &size);
    if (size == 0)
        return false;
    // Two spare characters close the list even when it is stored without its terminators.
    std::vector<wchar_t> ids(size / sizeof(wchar_t) + 2, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, nullptr,
                                           reinterpret_cast<BYTE*>(ids.data()), size, nullptr))
        return false;
    for (const wchar_t* id = ids.data(); *id; id += wcslen(id) + 1)
    {
        if (_wcsicmp(id, wanted) == 0)
            return true;
    }
    return false;
}

// What the port driver's installation would add to a registered device.
DWORD AddInterfaceAndName(HDEVINFO set, SP_DEVINFO_DATA& device, const wchar_t* description, const wchar_t* portName)
{
    if (!SetupDiCreateDeviceInterfaceW(set, &device, &PORT_INTERFACE_GUID, nullptr, 0, nullptr))
        return LastError();
    if (!portName)
        return ERROR_SUCCESS;
    const UniqueRegKey key = UniqueRegKey(SetupDiCreateDevRegKeyW(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr));
    if (!key)
        return LastError();
    const LONG error = SetString(key.Get(), L"PortName", portName);
    if (error != ERROR_SUCCESS)
        return error;
    const std::wstring friendlyName = std::wstring(description) + L" (" + portName + L")";
    return SetTextProperty(set, device, SPDRP_FRIENDLYNAME, friendlyName) ? ERROR_SUCCESS : LastError();
}

DWORD RemoveFromSet(HDEVINFO set, SP_DEVINFO_DATA& device, PortDevice::Removed& removed)
{
    DWORD error = InstanceIdOf(set, device, removed.instanceId);
    if (error != ERROR_SUCCESS)
        return error;
    removed.portName = PortNameOf(set, device);
    // No class-install parameters: Wine refuses them and removes the device without them.
    if (!SetupDiCallClassInstaller(DIF_REMOVE, set, &device))
        return LastError();
    error = PortDevice::ForgetPortName(removed.instanceId.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

// Opens the Ports-class device with the instance ID in a set of its own.
DWORD OpenDevice(const wchar_t* instanceId, DeviceInfoSet& set, SP_DEVINFO_DATA& device)
{
    set = DeviceInfoSet(SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr));
    if (!set)
        return LastError();
    device = {};
    device.cbSize = sizeof(device);
    return SetupDiOpenDeviceInfoW(set.Get(), instanceId, nullptr, 0, &device) ? ERROR_SUCCESS : LastError();
}

} // namespace

DWORD PortDevice::Create(const wchar_t* hardwareId, const wchar_t* description, const wchar_t* portName,
                         std::wstring& instanceId)
{
    instanceId.clear();
    const DeviceInfoSet set = DeviceInfoSet(SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr));
    if (!set)
        return LastError();
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    // Until it is registered, the device vanishes with the set on every early return.
    if (!SetupDiCreateDeviceInfoW(set.Get(), L"PORTS", &GUID_DEVCLASS_PORTS, description, nullptr, DICD_GENERATE_ID,
                                  &device))
        return LastError();
    // A REG_MULTI_SZ list of one: the ID, its terminator and the list's closing terminator.
    const std::wstring hardwareIds = std::wstring(hardwareId) + L'\0';
    if (!SetTextProperty(set.Get(), device, SPDRP_HARDWAREID, hardwareIds) ||
        !SetTextProperty(set.Get(), device, SPDRP_DEVICEDESC, description) ||
        !SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set.Get(), &device))
        return LastError();
    DWORD error = AddInterfaceAndName(set.Get(), device, description, portName);
    if (error == ERROR_SUCCESS)
        error = InstanceIdOf(set.Get(), device, instanceId);
    if (error != ERROR_SUCCESS)
    {
        SetupDiCallClassInstaller(DIF_REMOVE, set.Get(), &device);
        instanceId.clear();
    }
    return error;
}

DWORD PortDevice::Remove(const wchar_t* instanceId)
{
    DeviceInfoSet set;
    SP_DEVINFO_DATA device;
    const DWORD error = OpenDevice(instanceId, set, device);
    if (error != ERROR_SUCCESS)
        return error;
    Removed removed;
    return RemoveFromSet(set.Get(), device, removed);
}

DWORD PortDevice::RemoveByHardwareId(const wchar_t* hardwareId, std::vector<Removed>& removed)
{
    removed.clear();
    const DeviceInfoSet set = DeviceInfoSet(SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, 0));
    if (!set)
        return LastError();
    std::vector<SP_DEVINFO_DATA> matches;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.Get(), index, &device); ++index)
    {
        if (HasHardwareId(set.Get(), device, hardwareId))
            matches.push_back(device);
    }
    // Gathered first: removing while enumerating would shift the indexes.
    DWORD result = ERROR_SUCCESS;
    for (SP_DEVINFO_DATA& match : matches)
    {
        Removed gone;
        const DWORD error = RemoveFromSet(set.Get(), match, gone);
        if (error == ERROR_SUCCESS)
            removed.push_back(gone);
        else if (result == ERROR_SUCCESS)
            result = error;
    }
    return result;
}

DWORD PortDevice::Restart(const wchar_t* instanceId, std::wstring& portName)
{
    portName.clear();
    DeviceInfoSet set;
    SP_DEVINFO_DATA device;
    DWORD error = OpenDevice(instanceId, set, device);
    if (error != ERROR_SUCCESS)
        return error;
    error = ForgetPortName(instanceId);
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        return error;
    portName = PortNameOf(set.Get(), device);
    if (portName.empty())
        return ERROR_SUCCESS;
    const Kind kind = HasHardwareId(set.Get(), device, kParallelHardwareId) ? Kind::Parallel : Kind::Serial;
    return RecordPortName(kind, instanceId, portName.c_str());
}

DWORD PortDevice::FreePortName(Kind kind, std::wstring& name)
{
    name.clear();
    const PortDatabase& database = DatabaseOf(kind);
    std::vector<std::wstring> taken;
    const DWORD error = TakenNames(database, taken);
    if (error != ERROR_SUCCESS)
        return error;
    for (int number = 1; number <= database.highest; ++number)
    {
        std::wstring candidate = database.prefix + std::to_wstring(number);
        if (std::find(taken.begin(), taken.end(), candidate) == taken.end())
        {
            name = candidate;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_NO_MORE_ITEMS;
}

DWORD PortDevice::RecordPortName(Kind kind, const wchar_t* instanceId, const wchar_t* portName)
{
    HKEY raw = nullptr;
    // The port database lies under the volatile HARDWARE key, and a volatile key takes only volatile subkeys.
    const LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, DatabaseOf(kind).keyPath, 0, nullptr, REG_OPTION_VOLATILE,
                                       KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    const UniqueRegKey key(raw);
    return SetString(key.Get(), instanceId, portName);
}

DWORD PortDevice::ForgetPortName(const wchar_t* instanceId)
{
    DWORD result = ERROR_FILE_NOT_FOUND;
    for (const PortDatabase& database : kDatabases)
    {
        UniqueRegKey key;
        LONG error = OpenDatabase(database, KEY_SET_VALUE, key);
        if (error == ERROR_SUCCESS)
            error = RegDeleteValueW(key.Get(), instanceId);
        if (error == ERROR_SUCCESS)
            result = ERROR_SUCCESS;
        else if (error != ERROR_FILE_NOT_FOUND)
            return error;
    }
    return result;
}
