#include "ExclusiveFile.h"

ExclusiveFile::~ExclusiveFile()
{
    if (!m_file)
        return;
    m_file.Reset();
    ::DeleteFileW(m_path.c_str());
}

BOOL ExclusiveFile::Create(LPCWSTR path)
{
    m_path = path;
    // Readers that share write access, as the cabinet iteration opens the
    // file, still get in.
    m_file.Reset(::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY, nullptr));
    return m_file.IsValid();
}

BOOL ExclusiveFile::Write(const void* data, DWORD size)
{
    DWORD written = 0;
    return ::WriteFile(m_file.Get(), data, size, &written, nullptr) && written == size;
}
