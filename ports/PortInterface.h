#pragma once

#include <windows.h>

// Device interface class that every port device of this system exposes; the only way the ports are found.
inline constexpr GUID PORT_INTERFACE_GUID = {0xdd434821, 0x0576, 0x4e83, {0x92, 0x47, 0xd1, 0xc9, 0xd4, 0x15, 0xd3, 0x88}};
