// Start-up of the real setup.exe, from process start to its main dialog shown
// with the list filled, against a minimal dialog program built the same way.
#pragma once

#include "Figure.h"

#include <string>

// Both programs show a dialog holding a list with the main dialog's list id;
// each run starts one after the other and closes it again. One port device is
// present, so setup.exe's list holds a row.
Figure MeasureStartup(const std::wstring& setup, const std::wstring& minimalDialog, int runs);
