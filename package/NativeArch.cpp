#include "NativeArch.h"

#include <utility>

namespace {
ProcessorArchitectureSource g_source = nullptr;

WORD NativeProcessorArchitecture()
{
    if (g_source)
        return g_source();
    // The native architecture, also for the 32-bit executable on 64-bit Windows.
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}
}

ProcessorArchitectureSource SetProcessorArchitectureSource(ProcessorArchitectureSource source)
{
    return std::exchange(g_source, source);
}

std::wstring NativeArch()
{
    switch (NativeProcessorArchitecture()) {
    case PROCESSOR_ARCHITECTURE_IA64:
        return L"ia64";
    case PROCESSOR_ARCHITECTURE_AMD64:
        return L"amd64";
    default:
        return L"x86";
    }
}
