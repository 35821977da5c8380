// Makes NativeArch see the given processor architecture while the object
// lives, such as PROCESSOR_ARCHITECTURE_IA64, which Wine never reports.
#pragma once

#include "ImportPatch.h"

#include "package/NativeArch.h"

class NativeArchOverride {
public:
    explicit NativeArchOverride(WORD architecture)
        : m_patch("kernel32.dll", "GetNativeSystemInfo", reinterpret_cast<void*>(&NativeArchOverride::Report),
                  &s_real)
    {
        s_architecture = architecture;
    }
    NativeArchOverride(const NativeArchOverride&) = delete;
    NativeArchOverride& operator=(const NativeArchOverride&) = delete;

private:
    static void WINAPI Report(LPSYSTEM_INFO info)
    {
        *info = {};
        info->wProcessorArchitecture = s_architecture;
    }

    static inline WORD s_architecture = 0;
    static inline void* s_real = nullptr;
    ImportPatch m_patch;
};
