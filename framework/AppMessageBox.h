// The application message box: caption = the application name, OK only,
// with the icon flag given (MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION).
#pragma once

#include <windows.h>

int AppMessageBox(LPCWSTR text, UINT iconFlag);
// The text is string-table entry stringId.
int AppMessageBox(UINT stringId, UINT iconFlag);

// Test seam: the call that shows the box, so that a test can take the boxes
// off the screen.
extern decltype(&::MessageBoxW) g_messageBox;
