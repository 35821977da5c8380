#include "FormatText.h"

#include <cstdarg>
#include <cstdio>

std::wstring FormatText(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = _vscwprintf(format, measure);
    va_end(measure);
    std::wstring text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        _vsnwprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}
