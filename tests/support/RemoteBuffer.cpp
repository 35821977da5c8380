#include "RemoteBuffer.h"

#include "framework/UniqueResource.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {
// One call into the other process, made on a thread of its own. The thread
// shares this with the caller: a call that outlasts the caller's wait keeps
// what it works on until it ends (when the process is ended, at the latest).
struct Call {
    enum Kind { Allocate, Free, Write, Read };
    Kind kind;
    UniqueHandle process;  // a handle of its own: the caller's may be closed first
    void* address;         // where; for Allocate, what it returned
    std::vector<BYTE> bytes;  // what a write sends or a read brings back
    BOOL succeeded = FALSE;
};

DWORD WINAPI RunCall(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<Call>> owner(static_cast<std::shared_ptr<Call>*>(parameter));
    Call& call = **owner;
    const HANDLE process = call.process.Get();
    switch (call.kind) {
    case Call::Allocate:
        call.address = ::VirtualAllocEx(process, nullptr, call.bytes.size(), MEM_COMMIT, PAGE_READWRITE);
        call.succeeded = call.address != nullptr;
        break;
    case Call::Free:
        call.succeeded = ::VirtualFreeEx(process, call.address, 0, MEM_RELEASE);
        break;
    case Call::Write:
        call.succeeded = ::WriteProcessMemory(process, call.address, call.bytes.data(), call.bytes.size(), nullptr);
        break;
    case Call::Read:
        call.succeeded = ::ReadProcessMemory(process, call.address, call.bytes.data(), call.bytes.size(), nullptr);
        break;
    }
    return 0;
}

// The call, waited for at most timeoutMs; null when it did not run or did
// not end in time (then stuck is set).
std::shared_ptr<Call> Bounded(std::shared_ptr<Call> call, DWORD timeoutMs, bool& stuck)
{
    if (!call->process)
        return nullptr;
    auto shared = std::make_unique<std::shared_ptr<Call>>(call);
    UniqueHandle thread(::CreateThread(nullptr, 0, &RunCall, shared.get(), 0, nullptr));
    if (!thread)
        return nullptr;
    shared.release();
    if (::WaitForSingleObject(thread.Get(), timeoutMs) != WAIT_OBJECT_0) {
        stuck = true;
        return nullptr;
    }
    return call;
}

std::shared_ptr<Call> MakeCall(Call::Kind kind, HANDLE process, void* address, size_t size)
{
    auto call = std::make_shared<Call>();
    call->kind = kind;
    call->process = DuplicateOwnHandle(process);
    call->address = address;
    call->bytes.resize(size);
    return call;
}
}

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size, DWORD timeoutMs)
    : m_process(process), m_timeoutMs(timeoutMs)
{
    const auto call = Bounded(MakeCall(Call::Allocate, process, nullptr, size), timeoutMs, m_stuck);
    if (call && call->succeeded)
        m_address = call->address;
}

RemoteBuffer::~RemoteBuffer()
{
    if (m_address && !m_stuck)
        Bounded(MakeCall(Call::Free, m_process, m_address, 0), m_timeoutMs, m_stuck);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) const
{
    if (!m_address)
        return false;
    const auto call = MakeCall(Call::Write, m_process, Address() + offset, size);
    std::memcpy(call->bytes.data(), data, size);
    const auto done = Bounded(call, m_timeoutMs, m_stuck);
    return done && done->succeeded;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const
{
    if (!m_address)
        return false;
    const auto done = Bounded(MakeCall(Call::Read, m_process, Address() + offset, size), m_timeoutMs, m_stuck);
    if (!done || !done->succeeded)
        return false;
    std::memcpy(data, done->bytes.data(), size);
    return true;
}
