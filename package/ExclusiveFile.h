// A file this process creates new, never one that already exists under the
// name; while the object holds it, others may read it but neither write nor
// delete it. It is deleted when the object goes.
#pragma once

#include "framework/UniqueResource.h"

#include <windows.h>

#include <string>

class ExclusiveFile {
public:
    ExclusiveFile() = default;
    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    // FALSE when something exists at the path already or the file cannot be created.
    BOOL Create(LPCWSTR path);
    // FALSE unless every byte was written.
    BOOL Write(const void* data, DWORD size);

private:
    std::wstring m_path;
    UniqueHandle m_file;
};
