#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Root-enumerated port devices of the Ports setup class and their entries in the
// Windows port database. Stands in for what the driver package and its port driver
// do on a real system; used by the device console tool and by the tests.
// Every operation returns a Win32 error code, 0 on success.
class PortDevice
{
public:
    // Which port database a name belongs to: COM1..COM256 or LPT1..LPT3.
    enum class Kind
    {
        Serial,
        Parallel
    };

    // The one hardware ID whose devices get parallel (LPT) names.
    static constexpr wchar_t kParallelHardwareId[] = L"RUD\\VParPort";

    // A device that a removal took away; the port name is empty when it had none.
    struct Removed
    {
        std::wstring instanceId;
        std::wstring portName;
    };

    // Creates and registers a device (ROOT\PORTS\nnnn) with the given hardware ID and
    // description that exposes PORT_INTERFACE_GUID. With a port name, also writes
    // "PortName" to its hardware key and sets the friendly name "description (name)";
    // a null port name leaves both out. A device that fails half-way is removed again.
    static DWORD Create(const wchar_t* hardwareId, const wchar_t* description, const wchar_t* portName,
                        std::wstring& instanceId);

    // Removes one device and its port database entry.
    static DWORD Remove(const wchar_t* instanceId);

    // Removes every Ports-class device, present or not, whose hardware IDs contain the
    // given one (case-insensitive), with their port database entries. Finding nothing
    // is success with an empty list. On failure the list still names what went.
    static DWORD RemoveByHardwareId(const wchar_t* hardwareId, std::vector<Removed>& removed);

    // Restarts a device as far as the port database sees it: its port driver,
    // starting again, records the device's "PortName" in the database of its
    // kind (parallel for the hardware ID RUD\VParPort, serial otherwise) in
    // place of what it recorded before. The name is empty, and nothing is
    // recorded, when the device has none. ERROR_NO_SUCH_DEVINST when no
    // device has the instance ID.
    static DWORD Restart(const wchar_t* instanceId, std::wstring& portName);

    // The lowest name of the kind that no value of its port database key holds;
    // ERROR_NO_MORE_ITEMS when all are taken.
    static DWORD FreePortName(Kind kind, std::wstring& name);

    // Records a device's port name in the port database, as its port driver does when
    // the device starts. The value is named after the device instance ID.
    static DWORD RecordPortName(Kind kind, const wchar_t* instanceId, const wchar_t* portName);

    // Deletes the device's entry from whichever port database holds it;
    // ERROR_FILE_NOT_FOUND when none does.
    static DWORD ForgetPortName(const wchar_t* instanceId);
};
