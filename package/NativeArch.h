// The processor architecture of the running Windows (not of this process):
// "amd64", "ia64" or "x86". It names the package subfolder whose devcon runs.
#pragma once

#include <windows.h>

#include <string>

std::wstring NativeArch();

// Test seam: a source of the processor-architecture word in place of GetNativeSystemInfo; null restores it.
using ProcessorArchitectureSource = WORD (*)();
ProcessorArchitectureSource SetProcessorArchitectureSource(ProcessorArchitectureSource source);
