// Makes NativeArch see the given processor architecture while the object
// lives, such as PROCESSOR_ARCHITECTURE_IA64, which Wine never reports.
#pragma once

#include "package/NativeArch.h"

class NativeArchOverride {
public:
    explicit NativeArchOverride(WORD architecture)
    {
        s_architecture = architecture;
        m_previous = SetProcessorArchitectureSource(&NativeArchOverride::Source);
    }
    ~NativeArchOverride() { SetProcessorArchitectureSource(m_previous); }
    NativeArchOverride(const NativeArchOverride&) = delete;
    NativeArchOverride& operator=(const NativeArchOverride&) = delete;

private:
    static WORD Source() { return s_architecture; }

    static inline WORD s_architecture = 0;
    ProcessorArchitectureSource m_previous;
};
