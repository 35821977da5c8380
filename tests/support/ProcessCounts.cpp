#include "ProcessCounts.h"

#include "framework/UniqueResource.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace {
struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
}

size_t CountProcessHandles(DWORD processId)
{
    std::vector<BYTE> buffer(sizeof(HandleTable));
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = ::NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                                                static_cast<ULONG>(buffer.size()), &needed))
           == kInfoLengthMismatch)
        buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
    if (status != 0)
        return 0;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    size_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == processId)
            ++count;
    }
    return count;
}

std::vector<DWORD> ProcessThreadIds(DWORD processId)
{
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    std::vector<DWORD> ids;
    for (BOOL more = snapshot && ::Thread32First(snapshot.Get(), &entry); more;
         more = ::Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID == processId)
            ids.push_back(entry.th32ThreadID);
    }
    return ids;
}

int CountProcessThreads(DWORD processId)
{
    return static_cast<int>(ProcessThreadIds(processId).size());
}
