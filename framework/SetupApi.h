// The setup functions the tool calls, bound at run time to the copy of
// setupapi.dll in the system folder. It is not a known DLL on Windows XP and
// Vista, so a static import would be looked for in the tool's own folder
// (often a download folder anyone can write to) before the system's.
#pragma once

#include "UniqueResource.h"

#include <windows.h>
#include <setupapi.h>

class SystemLibrary;

// Every setup function the tool calls, each named once: the table below has a
// slot per name and binds each by its name.
#define TAVRIN_SETUP_FUNCTIONS(X)          \
    X(SetupDiGetClassDevsW)                \
    X(SetupDiEnumDeviceInfo)               \
    X(SetupDiOpenDevRegKey)                \
    X(SetupDiDestroyDeviceInfoList)        \
    X(SetupDiGetDeviceRegistryPropertyW)   \
    X(SetupDiSetDeviceRegistryPropertyW)   \
    X(SetupDiSetClassInstallParamsW)       \
    X(SetupDiChangeState)                  \
    X(SetupDiLoadClassIcon)                \
    X(SetupDiGetDeviceInstanceIdW)         \
    X(SetupIterateCabinetW)

class SetupApi {
public:
    // The table in use, bound to the system's setupapi.dll on first use.
    // Tests may swap entries and put them back.
    static SetupApi& Get();

    // A table bound to library. A function it lacks, or every function when
    // the library failed to load, fails the way the setup functions report
    // failure (FALSE or INVALID_HANDLE_VALUE) with ERROR_PROC_NOT_FOUND.
    explicit SetupApi(const SystemLibrary& library);

#define TAVRIN_SETUP_FUNCTION_SLOT(name) decltype(&::name) name;
    TAVRIN_SETUP_FUNCTIONS(TAVRIN_SETUP_FUNCTION_SLOT)
#undef TAVRIN_SETUP_FUNCTION_SLOT
};

struct DeviceInfoSetTraits {
    using Type = HDEVINFO;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { SetupApi::Get().SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoSet = UniqueResource<DeviceInfoSetTraits>;
