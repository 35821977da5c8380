// The processor architecture of the running Windows (not of this process):
// "amd64", "ia64" or "x86". It names the package subfolder whose devcon runs.
#pragma once

#include <windows.h>

#include <string>

std::wstring NativeArch();
