// Device console stand-in: installs the virtual port devices that the package's INF
// offers, restarts and removes them again, as the setup program expects.

#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "PortDevice.h"

namespace
{

enum ExitCode : int
{
    ExitSuccess = 0,
    ExitUsage = 1,
    ExitInfMissing = 2,
    ExitNotOffered = 3,
    ExitNoMatch = 4,
    ExitSetupFailed = 5,
};

struct InfCloser
{
    void operator()(HINF inf) const { SetupCloseInfFile(inf); }
};

using InfFile = std::unique_ptr<void, InfCloser>;

int Usage()
{
    wprintf(L"usage:\n"
            L"  devcon install <inf> <hardware id>\n"
            L"      adds a port device with the hardware ID, which the INF (a path relative to\n"
            L"      the current folder) must offer for this platform; RUD\\VParPort gets the\n"
            L"      lowest free LPT name, any other ID the lowest free COM name\n"
            L"  devcon remove <hardware id>\n"
            L"      removes every Ports device whose hardware IDs contain the ID (any case)\n"
            L"  devcon restart @<instance id>\n"
            L"      restarts the device: its port driver records its PortName in the port\n"
            L"      database again\n"
            L"exit codes:\n"
            L"  0 success\n"
            L"  1 bad usage\n"
            L"  2 INF missing\n"
            L"  3 hardware ID not offered by the INF for this platform\n"
            L"  4 no device matched\n"
            L"  5 a setup call failed\n");
    return ExitUsage;
}

int SetupFailed(const wchar_t* step, DWORD error)
{
    fwprintf(stderr, L"devcon: %ls failed, error %lu\n", step, error);
    return ExitSetupFailed;
}

// The INF platform decoration of the running Windows, whatever the bitness of this process.
const wchar_t* NativePlatform()
{
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture)
    {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return L"NTamd64";
    case PROCESSOR_ARCHITECTURE_IA64:
        return L"NTia64";
    default:
        return L"NTx86";
    }
}

// A field of an INF line with its %strings% substituted; empty when the line has no such field.
std::wstring Field(INFCONTEXT& line, DWORD index)
{
    DWORD size = 0;
    if (!SetupGetStringFieldW(&line, index, nullptr, 0, &size) || size == 0)
        return {};
    std::wstring text(size, L'\0');
    if (!SetupGetStringFieldW(&line, index, &text[0], size, nullptr))
        return {};
    text.resize(text.find(L'\0'));
    return text;
}

// Model lines read "description = install section, hardware ID[, compatible IDs]".
bool FindModel(HINF inf, const std::wstring& section, const wchar_t* hardwareId, std::wstring& description)
{
    INFCONTEXT model;
    for (BOOL found = SetupFindFirstLineW(inf, section.c_str(), nullptr, &model); found;
         found = SetupFindNextLine(&model, &model))
    {
        const DWORD fields = SetupGetFieldCount(&model);
        for (DWORD index = 2; index <= fields; ++index)
        {
            if (_wcsicmp(Field(model, index).c_str(), hardwareId) == 0)
            {
                description = Field(model, 0);
                return true;
            }
        }
    }
    return false;
}

// Manufacturer lines read "name = models section, decoration, ..."; only the models section
// decorated for this platform counts. An OS version after the platform is not looked at.
bool FindOffer(HINF inf, const wchar_t* hardwareId, std::wstring& description)
{
    const wchar_t* platform = NativePlatform();
    INFCONTEXT manufacturer;
    for (BOOL found = SetupFindFirstLineW(inf, L"Manufacturer", nullptr, &manufacturer); found;
         found = SetupFindNextLine(&manufacturer, &manufacturer))
    {
        const std::wstring models = Field(manufacturer, 1);
        const DWORD fields = SetupGetFieldCount(&manufacturer);
        for (DWORD index = 2; index <= fields; ++index)
        {
            const std::wstring decoration = Field(manufacturer, index);
            if (_wcsicmp(decoration.substr(0, decoration.find(L'.')).c_str(), platform) == 0 &&
                FindModel(inf, models + L"." + decoration, hardwareId, description))
                return true;
        }
    }
    return false;
}

int Install(const wchar_t* infName, const wchar_t* hardwareId)
{
    // SetupOpenInfFileW looks for a bare file name in the system's INF folder, not here.
    wchar_t infPath[MAX_PATH];
    const DWORD length = GetFullPathNameW(infName, ARRAYSIZE(infPath), infPath, nullptr);
    const DWORD attributes = length > 0 && length < ARRAYSIZE(infPath) ? GetFileAttributesW(infPath)
                                                                       : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        fwprintf(stderr, L"devcon: %ls: no such INF\n", infName);
        return ExitInfMissing;
    }
    HINF opened = SetupOpenInfFileW(infPath, nullptr, INF_STYLE_WIN4, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return SetupFailed(L"SetupOpenInfFile", GetLastError());
    const InfFile inf(opened);

    std::wstring description;
    if (!FindOffer(inf.get(), hardwareId, description))
    {
        fwprintf(stderr, L"devcon: %ls offers no %ls for %ls\n", infName, hardwareId, NativePlatform());
        return ExitNotOffered;
    }
    const PortDevice::Kind kind =
        _wcsicmp(hardwareId, PortDevice::kParallelHardwareId) == 0 ? PortDevice::Kind::Parallel : PortDevice::Kind::Serial;
    std::wstring portName;
    DWORD error = PortDevice::FreePortName(kind, portName);
    if (error != ERROR_SUCCESS)
        return SetupFailed(L"finding a free port name", error);
    std::wstring instanceId;
    error = PortDevice::Create(hardwareId, description.c_str(), portName.c_str(), instanceId);
    if (error != ERROR_SUCCESS)
        return SetupFailed(L"creating the device", error);
    error = PortDevice::RecordPortName(kind, instanceId.c_str(), portName.c_str());
    if (error != ERROR_SUCCESS)
    {
        PortDevice::Remove(instanceId.c_str());
        return SetupFailed(L"recording the port name", error);
    }
    wprintf(L"%ls: %ls added\n", instanceId.c_str(), portName.c_str());
    return ExitSuccess;
}

int Remove(const wchar_t* hardwareId)
{
    std::vector<PortDevice::Removed> removed;
    const DWORD error = PortDevice::RemoveByHardwareId(hardwareId, removed);
    for (const PortDevice::Removed& device : removed)
    {
        if (device.portName.empty())
            wprintf(L"%ls: removed\n", device.instanceId.c_str());
        else
            wprintf(L"%ls: %ls removed\n", device.instanceId.c_str(), device.portName.c_str());
    }
    if (error != ERROR_SUCCESS)
        return SetupFailed(L"removing the devices", error);
    if (removed.empty())
    {
        fwprintf(stderr, L"devcon: no device has the hardware ID %ls\n", hardwareId);
        return ExitNoMatch;
    }
    return ExitSuccess;
}

int Restart(const wchar_t* device)
{
    // "@" names a device by its instance ID.
    if (device[0] != L'@')
        return Usage();
    std::wstring portName;
    const DWORD error = PortDevice::Restart(device + 1, portName);
    if (error == ERROR_NO_SUCH_DEVINST)
    {
        fwprintf(stderr, L"devcon: no device has the instance ID %ls\n", device + 1);
        return ExitNoMatch;
    }
    if (error != ERROR_SUCCESS)
        return SetupFailed(L"restarting the device", error);
    wprintf(L"%ls: %ls restarted\n", device + 1, portName.c_str());
    return ExitSuccess;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc == 4 && _wcsicmp(argv[1], L"install") == 0)
        return Install(argv[2], argv[3]);
    if (argc == 3 && _wcsicmp(argv[1], L"remove") == 0)
        return Remove(argv[2]);
    if (argc == 3 && _wcsicmp(argv[1], L"restart") == 0)
        return Restart(argv[2]);
    return Usage();
}
