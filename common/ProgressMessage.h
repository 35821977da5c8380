// Posted by the install worker to the progress dialog: wParam nonzero moves the
// bar to position lParam (0 to 100); wParam 0 says the worker is finishing.
#pragma once

#include <windows.h>

inline constexpr UINT ProgressMessage = WM_APP + 1;
