// The kind of port chosen in the port-type dialog, and the hardware IDs the
// package's INF offers for the kinds.
#pragma once

#include <windows.h>

// An int, since the dialog's radio group yields the index of the checked button.
using PortKind = int;
inline constexpr PortKind PortKindSerial = 0;
inline constexpr PortKind PortKindParallel = 1;

inline constexpr wchar_t kSerialPortHardwareId[] = L"RUD\\VSerPort";
inline constexpr wchar_t kParallelPortHardwareId[] = L"RUD\\VParPort";
// The devices of the product's earlier version.
inline constexpr wchar_t kOldVersionHardwareId[] = L"RUD\\Tavrin";

// Every kind other than serial installs a parallel port.
inline const wchar_t* PortKindHardwareId(PortKind kind)
{
    return kind == PortKindSerial ? kSerialPortHardwareId : kParallelPortHardwareId;
}
