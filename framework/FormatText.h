// printf-style formatting into a string. Wide formats follow the platform
// runtime's rules: %s takes a wide string, %d a signed and %u an unsigned int.
#pragma once

#include <string>

std::wstring FormatText(const wchar_t* format, ...);
