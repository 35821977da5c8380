// Memory in another process, for window messages whose parameters point to
// data, such as the list-view item of LVM_GETITEMTEXTW. Every call into the
// other process ends within the time-out: under Wine an allocation or a
// release there waits, with no time-out of its own, until a thread of that
// process carries it out, which a program stuck inside Wine never does.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
public:
    // The process handle must allow memory operations and outlive the object.
    RemoteBuffer(HANDLE process, size_t size, DWORD timeoutMs);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // The address in the other process; null when nothing was allocated.
    BYTE* Address() const { return static_cast<BYTE*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size) const;
    bool Read(size_t offset, void* data, size_t size) const;
    // Whether a call did not end within the time-out: the program is stuck.
    bool Stuck() const { return m_stuck; }

private:
    HANDLE m_process;
    DWORD m_timeoutMs;
    mutable bool m_stuck = false;
    void* m_address = nullptr;
};
