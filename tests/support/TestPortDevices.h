// Port devices a test makes in the Wine prefix with the PortDevice library:
// present, exposing the port interface, with or without a "PortName". Every
// device of the test's hardware ID goes again when the object does (and when
// it is made, in case an earlier run was cut short).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TestPortDevices {
public:
    TestPortDevices();
    ~TestPortDevices();
    TestPortDevices(const TestPortDevices&) = delete;
    TestPortDevices& operator=(const TestPortDevices&) = delete;

    // A new device; a null name leaves "PortName" out. Its instance ID, or
    // empty (with a test failure) when it could not be made.
    std::wstring Add(const wchar_t* portName);

    // Writes "PortName" of the device as exactly these bytes, of any type.
    static LONG WritePortName(const std::wstring& instanceId, DWORD type, const void* data, DWORD size);

    // Instance IDs of the present port-interface devices, in the order
    // Windows enumerates them.
    static std::vector<std::wstring> Enumerated();

private:
    static void RemoveAll();
};
