// Diagnostics for the debugger output. A text of 200 characters or more is
// dropped whole rather than cut.
#pragma once

void TraceLog(const wchar_t* format, ...);
