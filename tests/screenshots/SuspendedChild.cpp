#include "SuspendedChild.h"

#include "support/ProcessCounts.h"

#include <tlhelp32.h>

SuspendedChild::SuspendedChild(DWORD parentId, const wchar_t* exeName, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    DWORD child = 0;
    // Polled closely: the child may do its work in well under a second.
    while ((child = FindChild(parentId, exeName)) == 0 && ::GetTickCount() - start < timeoutMs)
        ::Sleep(1);
    if (child == 0)
        return;
    m_process.Reset(::OpenProcess(SYNCHRONIZE, FALSE, child));
    if (m_process)
        SuspendThreadsOf(child);
    // Held only if it had not ended meanwhile.
    if (!m_process || ::WaitForSingleObject(m_process.Get(), 0) != WAIT_TIMEOUT) {
        for (const UniqueHandle& thread : m_threads)
            ::ResumeThread(thread.Get());
        m_threads.clear();
    }
}

SuspendedChild::~SuspendedChild()
{
    for (const UniqueHandle& thread : m_threads)
        ::ResumeThread(thread.Get());
}

DWORD SuspendedChild::FindChild(DWORD parentId, const wchar_t* exeName)
{
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == parentId && lstrcmpiW(entry.szExeFile, exeName) == 0)
            return entry.th32ProcessID;
    }
    return 0;
}

void SuspendedChild::SuspendThreadsOf(DWORD processId)
{
    for (DWORD threadId : ProcessThreadIds(processId)) {
        UniqueHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId));
        if (thread && ::SuspendThread(thread.Get()) != static_cast<DWORD>(-1))
            m_threads.push_back(std::move(thread));
    }
}
