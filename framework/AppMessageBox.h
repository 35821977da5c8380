// The application message box: caption = the application name, OK only,
// with the icon flag given (MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION).
#pragma once

#include <windows.h>

int AppMessageBox(LPCWSTR text, UINT iconFlag);
// The text is string-table entry stringId.
int AppMessageBox(UINT stringId, UINT iconFlag);

// Test seam: while a hook is set, message boxes go to it instead of the
// screen. It receives the text and the full MessageBox type flags.
using MessageBoxHook = int (*)(LPCWSTR text, UINT type);
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
