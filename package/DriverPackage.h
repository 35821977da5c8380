// The driver package embedded in the executable: a cabinet in raw data 103.
#pragma once

#include <windows.h>

#include <optional>

struct DriverPackage {
    // Read-only bytes of the loaded image; never freed.
    const BYTE* pData;
    DWORD cbData;
};

// Locates and locks the package; nothing when the executable has none.
std::optional<DriverPackage> LoadDriverPackage();
