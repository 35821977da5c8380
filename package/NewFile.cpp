#include "NewFile.h"

#include "framework/UniqueResource.h"

BOOL WriteNewFile(LPCWSTR path, const void* data, DWORD size, SECURITY_ATTRIBUTES* security)
{
    const UniqueHandle file(
        ::CreateFileW(path, GENERIC_WRITE, 0, security, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file)
        return FALSE;
    DWORD written = 0;
    return ::WriteFile(file.Get(), data, size, &written, nullptr) && written == size;
}
