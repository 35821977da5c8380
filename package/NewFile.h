// Writes a file this process creates new, never one that already exists
// under the name.
#pragma once

#include <windows.h>

// Creates the file with the security, writes every byte and closes it again,
// so that a reader finds no writer in its way. FALSE when something exists at
// the path already, or the file cannot be created or completely written (it
// may then be left, partly written, for the caller to delete).
BOOL WriteNewFile(LPCWSTR path, const void* data, DWORD size, SECURITY_ATTRIBUTES* security);
