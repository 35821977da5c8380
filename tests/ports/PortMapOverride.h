// Gives a test its own content of a Windows port map key (under
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP) and puts back what was there when it
// goes away. Tests that use it lock the "devices" resource.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class PortMapOverride {
public:
    explicit PortMapOverride(LPCWSTR path);
    ~PortMapOverride();
    PortMapOverride(const PortMapOverride&) = delete;
    PortMapOverride& operator=(const PortMapOverride&) = delete;

    // Leaves the key, created if missing, with only these REG_SZ values,
    // named Value000, Value001, ... in this order.
    LONG SetNames(const std::vector<std::wstring>& data);
    // Adds or replaces one value with these very bytes.
    LONG SetRaw(LPCWSTR name, DWORD type, const void* data, DWORD size);
    // Deletes the key.
    LONG Remove();

    LPCWSTR Path() const { return m_path.c_str(); }

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };

    LONG Clear();

    std::wstring m_path;
    bool m_existed = false;
    std::vector<Value> m_saved;
};
