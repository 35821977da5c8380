#include "TraceLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

void TraceLog(const wchar_t* format, ...)
{
    wchar_t buffer[200];
    va_list args;
    va_start(args, format);
    // Negative, or the full capacity without room for the terminator, means
    // the text did not fit.
    int length = _vsnwprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
    va_end(args);
    if (length < 0 || length >= static_cast<int>(sizeof(buffer) / sizeof(buffer[0])))
        return;
    ::OutputDebugStringW(buffer);
}
