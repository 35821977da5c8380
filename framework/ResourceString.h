// Strings of the string table, in the language the resource lookup picks.
#pragma once

#include <windows.h>

#include <string>

// Empty when the string does not exist.
std::wstring LoadResourceString(UINT id);
