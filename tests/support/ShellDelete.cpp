#include "ShellDelete.h"

#include <cwchar>
#include <memory>
#include <new>

int ShellDeleteTree(LPCWSTR path, HWND owner, FILEOP_FLAGS flags)
{
    // The shell reads a list of paths that an empty one ends: the path and two NULs.
    const size_t length = std::wcslen(path) + 2;
    std::unique_ptr<wchar_t[]> from(new (std::nothrow) wchar_t[length]());
    if (!from)
        return ERROR_NOT_ENOUGH_MEMORY;
    std::wmemcpy(from.get(), path, length - 2);

    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.get();
    operation.fFlags = flags;
    return ::SHFileOperationW(&operation);
}
