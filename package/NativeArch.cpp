#include "NativeArch.h"

std::wstring NativeArch()
{
    // The native architecture, also for the 32-bit executable on 64-bit Windows.
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_IA64:
        return L"ia64";
    case PROCESSOR_ARCHITECTURE_AMD64:
        return L"amd64";
    default:
        return L"x86";
    }
}
