// Memory in another process, for window messages whose parameters point to
// data, such as the list-view item of LVM_GETITEMTEXTW.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
public:
    // The process handle must allow memory operations and outlive the object.
    RemoteBuffer(HANDLE process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // The address in the other process; null when nothing was allocated.
    BYTE* Address() const { return static_cast<BYTE*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size) const;
    bool Read(size_t offset, void* data, size_t size) const;

private:
    HANDLE m_process;
    void* m_address;
};
