// The setup functions the tool calls, bound at run time to the copy of
// setupapi.dll in the system folder. It is not a known DLL on Windows XP and
// Vista, so a static import would be looked for in the tool's own folder
// (often a download folder anyone can write to) before the system's.
#pragma once

#include <windows.h>
#include <setupapi.h>

class SystemLibrary;

class SetupApi {
public:
    // The table in use, bound to the system's setupapi.dll on first use.
    // Tests may swap entries and put them back.
    static SetupApi& Get();

    // A table bound to library. A function it lacks, or every function when
    // the library failed to load, fails the way the setup functions report
    // failure (FALSE or INVALID_HANDLE_VALUE) with ERROR_PROC_NOT_FOUND.
    explicit SetupApi(const SystemLibrary& library);

    decltype(&::SetupDiGetClassDevsW) SetupDiGetClassDevsW;
    decltype(&::SetupDiEnumDeviceInfo) SetupDiEnumDeviceInfo;
    decltype(&::SetupDiOpenDevRegKey) SetupDiOpenDevRegKey;
    decltype(&::SetupDiDestroyDeviceInfoList) SetupDiDestroyDeviceInfoList;
    decltype(&::SetupDiGetDeviceRegistryPropertyW) SetupDiGetDeviceRegistryPropertyW;
    decltype(&::SetupDiSetDeviceRegistryPropertyW) SetupDiSetDeviceRegistryPropertyW;
    decltype(&::SetupDiSetClassInstallParamsW) SetupDiSetClassInstallParamsW;
    decltype(&::SetupDiChangeState) SetupDiChangeState;
    decltype(&::SetupDiLoadClassIcon) SetupDiLoadClassIcon;
    decltype(&::SetupIterateCabinetW) SetupIterateCabinetW;
};
