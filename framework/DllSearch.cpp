#include "DllSearch.h"

#include "SystemLibrary.h"

#include <windows.h>

void RestrictDllSearch()
{
    // Windows 8 and later, and 7 or Vista with KB2533623: the system folder
    // alone for LoadLibrary, the application's folder included.
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    if (auto setDefault = KernelFunction<SetDefaultDllDirectoriesCall>("SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // XP SP1 and later: the current folder leaves the search.
    using SetDllDirectoryCall = BOOL(WINAPI*)(LPCWSTR);
    if (auto setDirectory = KernelFunction<SetDllDirectoryCall>("SetDllDirectoryW"))
        setDirectory(L"");
}
