#include "RemoteBuffer.h"

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : m_process(process), m_address(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))
{
}

RemoteBuffer::~RemoteBuffer()
{
    if (m_address)
        ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) const
{
    return m_address && ::WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const
{
    return m_address && ::ReadProcessMemory(m_process, Address() + offset, data, size, nullptr);
}
