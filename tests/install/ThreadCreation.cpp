#include "ThreadCreation.h"

#include "install/WaitDialog.h"

ThreadCreation::ThreadCreation(decltype(&::CreateThread) replacement)
{
    CWaitDialog::s_createThread = replacement;
}

ThreadCreation::~ThreadCreation()
{
    CWaitDialog::s_createThread = &::CreateThread;
}

HANDLE WINAPI ThreadCreation::Failing(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}
