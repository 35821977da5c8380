#include "ProtectedFolder.h"

#include "framework/SystemLibrary.h"

#include <winternl.h>

#include <cwchar>

namespace {
// GetTempFileNameW needs room for its name after the directory.
const DWORD kLongestTempPath = MAX_PATH - 14;

// The native form of a full path, which NtCreateFile takes.
std::wstring NtPath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return L"\\??\\" + path.substr(4);
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\??\\UNC\\" + path.substr(2);
    return L"\\??\\" + path;
}

// Creates the folder and opens it in one step, failing when anything exists
// under the name: a folder made between a test and an open could be
// someone else's.
UniqueHandle CreateHeldFolder(const std::wstring& path, PSECURITY_DESCRIPTOR descriptor)
{
    const std::wstring ntPath = NtPath(path);
    UNICODE_STRING name;
    ::RtlInitUnicodeString(&name, ntPath.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, descriptor);
    IO_STATUS_BLOCK status = {};
    HANDLE folder = nullptr;
    const NTSTATUS result = ::NtCreateFile(&folder, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &status, nullptr,
                                           FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                                           FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result)) {
        ::SetLastError(::RtlNtStatusToDosError(result));
        return UniqueHandle();
    }
    return UniqueHandle(folder);
}

// The path the held folder really has (Windows Vista and later); the
// created one where the system cannot tell.
std::wstring FinalPath(HANDLE folder, const std::wstring& created)
{
    using GetFinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto getFinalPath = KernelFunction<GetFinalPathCall>("GetFinalPathNameByHandleW");
    if (!getFinalPath)
        return created;
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD capacity = sizeof(path) / sizeof(path[0]);
    const DWORD length = getFinalPath(folder, path, capacity, 0);
    if (length == 0 || length >= capacity)
        return std::wstring();
    const std::wstring final(path, length);
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\\\" + final.substr(8);
    if (final.compare(0, 4, L"\\\\?\\") == 0)
        return final.substr(4);
    return final;
}
}

BOOL ProtectedFolder::Create(LPCWSTR prefix, size_t room, const AdminOnlySecurity& security)
{
    if (!security)
        return FALSE;
    wchar_t tempPath[MAX_PATH] = {};
    const DWORD length = ::GetTempPathW(sizeof(tempPath) / sizeof(tempPath[0]), tempPath);
    if (length == 0 || length > kLongestTempPath) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    // Windows picks a name no file has and creates the file; the folder takes its place.
    wchar_t name[MAX_PATH] = {};
    if (!::GetTempFileNameW(tempPath, prefix, 0, name))
        return FALSE;
    ::DeleteFileW(name);
    // A folder whose contents could not be named could not be deleted either.
    if (std::wcslen(name) + room >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    UniqueHandle hold = CreateHeldFolder(name, security.Descriptor());
    if (!hold)
        return FALSE;
    std::wstring path = FinalPath(hold.Get(), name);
    if (path.empty() || path.size() + room >= MAX_PATH) {
        hold.Reset();
        ::RemoveDirectoryW(name);
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    m_path = std::move(path);
    m_hold = std::move(hold);
    return TRUE;
}
