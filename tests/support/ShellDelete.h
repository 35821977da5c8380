// Deletes a folder tree (or a file) through the shell's file operation.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The result of SHFileOperationW, 0 on success; ERROR_NOT_ENOUGH_MEMORY when
// the path could not be copied.
int ShellDeleteTree(LPCWSTR path, HWND owner, FILEOP_FLAGS flags);
