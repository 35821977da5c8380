#include "ProtectedFolder.h"

#include "common/TraceLog.h"
#include "framework/SystemLibrary.h"

#include <ntsecapi.h>
#include <winternl.h>

#include <cwchar>
#include <utility>
#include <vector>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE routine, PVOID context,
                                               PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace {
// GetTempFileNameW needs room for its name after the directory.
const DWORD kLongestTempPath = MAX_PATH - 14;
// Names tried before giving up on a directory whose names are taken.
const int kNameAttempts = 100;
// What a command started may keep open for a moment after it ended.
const int kDeleteAttempts = 40;
const DWORD kDeletePause = 50;

const NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
const NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035L);
const ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Without delete sharing: nobody can open the folder to rename or delete it.
const ULONG kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;
const ULONG kRemoteDevice = 0x00000010;  // FILE_REMOTE_DEVICE

BOOL Fail(NTSTATUS status)
{
    ::SetLastError(::RtlNtStatusToDosError(status));
    return FALSE;
}

// A name relative to root, or a full native path without one; an empty name
// with a root stands for the root's file itself.
OBJECT_ATTRIBUTES Attributes(HANDLE root, UNICODE_STRING& text, const std::wstring& name,
                             PSECURITY_DESCRIPTOR descriptor)
{
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, root, descriptor);
    return attributes;
}

// Creates a folder, for synchronous use; fails when anything has the name.
NTSTATUS CreateFolder(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG share,
                      PSECURITY_DESCRIPTOR descriptor, UniqueHandle& folder)
{
    UNICODE_STRING text;
    OBJECT_ATTRIBUTES attributes = Attributes(root, text, name, descriptor);
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    const NTSTATUS result = ::NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr,
                                           FILE_ATTRIBUTE_NORMAL, share, FILE_CREATE,
                                           FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (NT_SUCCESS(result))
        folder.Reset(handle);
    return result;
}

// Opens what exists, for synchronous use.
NTSTATUS OpenFile(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options,
                  UniqueHandle& file)
{
    UNICODE_STRING text;
    OBJECT_ATTRIBUTES attributes = Attributes(root, text, name, nullptr);
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    const NTSTATUS result =
        ::NtOpenFile(&handle, access | SYNCHRONIZE, &attributes, &status, share, options | FILE_SYNCHRONOUS_IO_NONALERT);
    if (NT_SUCCESS(result))
        file.Reset(handle);
    return result;
}

// The native form of a full local path, which NtCreateFile takes.
std::wstring NtPath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return L"\\??\\" + path.substr(4);
    return L"\\??\\" + path;
}

// A share on another machine, or a path in a form the tool has no need to
// trust (\\?\, \\.\): the Windows folder's temporary directory serves instead.
bool IsUncPath(const wchar_t* path)
{
    return path[0] == L'\\' && path[1] == L'\\';
}

UniqueHandle OpenDirectory(const wchar_t* path)
{
    UniqueHandle directory;
    const NTSTATUS result =
        OpenFile(nullptr, NtPath(path), FILE_TRAVERSE, kShareAll, FILE_DIRECTORY_FILE, directory);
    if (!NT_SUCCESS(result))
        Fail(result);
    return directory;
}

// Whether the volume the directory lies on enforces the folders' security:
// it keeps ACLs, and it is local, so that no other machine decides.
bool EnforcesSecurity(HANDLE directory)
{
    IO_STATUS_BLOCK status = {};
    union {
        FILE_FS_ATTRIBUTE_INFORMATION info;
        BYTE bytes[sizeof(FILE_FS_ATTRIBUTE_INFORMATION) + MAX_PATH * sizeof(WCHAR)];
    } attributes = {};
    // A file system name too long for the buffer still leaves the flags.
    NTSTATUS result = ::NtQueryVolumeInformationFile(directory, &status, &attributes, sizeof(attributes),
                                                     FileFsAttributeInformation);
    if (NT_ERROR(result) || !(attributes.info.FileSystemAttributes & FILE_PERSISTENT_ACLS))
        return false;
    FILE_FS_DEVICE_INFORMATION device = {};
    result = ::NtQueryVolumeInformationFile(directory, &status, &device, sizeof(device), FileFsDeviceInformation);
    return NT_SUCCESS(result) && !(device.Characteristics & kRemoteDevice);
}

// A unique number for GetTempFileNameW that is not 0, so that it names
// without creating anything, and that nobody can tell in advance.
UINT RandomUnique()
{
    USHORT number = 0;
    if (!::RtlGenRandom(&number, sizeof(number)) || number == 0)
        return 1;
    return number;
}

// The path the held folder really has (Windows Vista and later), or the
// created one where the system cannot tell; empty when longer than MAX_PATH.
// FALSE when the system fails to give it: on a RAM disk whose volume the
// mount manager does not know, say.
BOOL FinalPath(HANDLE folder, const std::wstring& created, std::wstring& final)
{
    final.clear();
    using GetFinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto getFinalPath = KernelFunction<GetFinalPathCall>("GetFinalPathNameByHandleW");
    if (!getFinalPath) {
        final = created;
        return TRUE;
    }
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD capacity = sizeof(path) / sizeof(path[0]);
    const DWORD length = getFinalPath(folder, path, capacity, 0);
    if (length == 0)
        return FALSE;
    if (length >= capacity)
        return TRUE;
    final.assign(path, length);
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        final = L"\\\\" + final.substr(8);
    else if (final.compare(0, 4, L"\\\\?\\") == 0)
        final.erase(0, 4);
    return TRUE;
}

bool ListFolder(HANDLE folder, std::vector<std::wstring>& names)
{
    std::vector<ULONGLONG> buffer(1024);
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK status = {};
        const NTSTATUS result =
            NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status, buffer.data(),
                                 static_cast<ULONG>(buffer.size() * sizeof(buffer[0])), FileDirectoryInformation,
                                 FALSE, nullptr, restart);
        if (result == kNoMoreFiles)
            return true;
        if (!NT_SUCCESS(result))
            return false;
        const BYTE* entry = reinterpret_cast<const BYTE*>(buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(entry);
            const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..")
                names.push_back(name);
            if (info->NextEntryOffset == 0)
                break;
            entry += info->NextEntryOffset;
        }
    }
}

bool DeleteContents(HANDLE folder);

// Marks the open file or folder for deletion; it goes when its last handle closes.
bool MarkForDeletion(HANDLE file)
{
    FILE_DISPOSITION_INFORMATION disposition = {};
    disposition.DoDeleteFile = TRUE;
    IO_STATUS_BLOCK status = {};
    return NT_SUCCESS(
        ::NtSetInformationFile(file, &status, &disposition, sizeof(disposition), FileDispositionInformation));
}

// Deletes one entry of the folder: a folder with everything inside, a file,
// or a reparse point itself, never what it points to.
bool DeleteEntry(HANDLE folder, const std::wstring& name)
{
    UniqueHandle entry;
    if (!NT_SUCCESS(OpenFile(folder, name,
                             DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll,
                             FILE_OPEN_REPARSE_POINT, entry)))
        return false;
    FILE_BASIC_INFORMATION basic = {};
    IO_STATUS_BLOCK status = {};
    if (!NT_SUCCESS(::NtQueryInformationFile(entry.Get(), &status, &basic, sizeof(basic), FileBasicInformation)))
        return false;
    if ((basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !DeleteContents(entry.Get()))
        return false;
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        FILE_BASIC_INFORMATION writable = {};
        // None at all would leave the attributes as they are.
        writable.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
        if (writable.FileAttributes == 0)
            writable.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        ::NtSetInformationFile(entry.Get(), &status, &writable, sizeof(writable), FileBasicInformation);
    }
    return MarkForDeletion(entry.Get());
}

// Deletes everything inside the folder that can go; false when anything stays.
bool DeleteContents(HANDLE folder)
{
    std::vector<std::wstring> names;
    if (!ListFolder(folder, names))
        return false;
    bool all = true;
    for (const std::wstring& name : names)
        all = DeleteEntry(folder, name) && all;
    return all;
}
}

ProtectedFolder::~ProtectedFolder()
{
    Delete();
}

ProtectedFolder& ProtectedFolder::operator=(ProtectedFolder&& other) noexcept
{
    if (this != &other) {
        Delete();
        m_path = std::move(other.m_path);
        m_hold = std::move(other.m_hold);
    }
    return *this;
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
    // The user's environment names his temporary directory, so it may lead
    // anywhere, or nowhere: where it cannot be opened, would not enforce the
    // security or gives the new folder no final path, the Windows folder's
    // own serves instead.
    if (!IsUncPath(tempPath)) {
        const UniqueHandle directory = OpenDirectory(tempPath);
        if (directory && EnforcesSecurity(directory.Get())) {
            bool unresolved = false;
            const BOOL created = CreateIn(directory.Get(), tempPath, prefix, room, security.Descriptor(), unresolved);
            if (!unresolved)
                return created;
        }
    }
    wchar_t windowsTemp[MAX_PATH] = {};
    const UINT windows = ::GetSystemWindowsDirectoryW(windowsTemp, MAX_PATH);
    if (windows == 0 || windows + 6 > kLongestTempPath) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    std::wcscat(windowsTemp, windowsTemp[windows - 1] == L'\\' ? L"Temp\\" : L"\\Temp\\");
    const UniqueHandle directory = OpenDirectory(windowsTemp);
    if (!directory)
        return FALSE;
    if (!EnforcesSecurity(directory.Get())) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    TraceLog(L"temporary folder in the Windows temporary directory\n");
    bool unresolved = false;
    return CreateIn(directory.Get(), windowsTemp, prefix, room, security.Descriptor(), unresolved);
}

BOOL ProtectedFolder::CreateIn(HANDLE directory, const std::wstring& directoryPath, LPCWSTR prefix, size_t room,
                               PSECURITY_DESCRIPTOR descriptor, bool& unresolved)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        // A name only: with a unique number of its own GetTempFileNameW creates nothing.
        wchar_t name[MAX_PATH] = {};
        if (!::GetTempFileNameW(directoryPath.c_str(), prefix, RandomUnique(), name))
            return FALSE;
        // A folder whose contents could not be named could not be deleted either.
        if (std::wcslen(name) + room >= MAX_PATH) {
            ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return FALSE;
        }
        // In the directory already opened, so that the name cannot lead elsewhere.
        UniqueHandle hold;
        const NTSTATUS result = CreateFolder(directory, std::wcsrchr(name, L'\\') + 1,
                                             FILE_LIST_DIRECTORY | FILE_TRAVERSE, kShareHeld, descriptor, hold);
        if (result == kNameCollision)
            continue;
        if (!NT_SUCCESS(result))
            return Fail(result);
        m_hold = std::move(hold);
        // Without a final path another directory may serve; too long a one leaves no room.
        unresolved = !FinalPath(m_hold.Get(), name, m_path);
        if (unresolved || m_path.empty() || m_path.size() + room >= MAX_PATH) {
            const DWORD error = unresolved ? ::GetLastError() : static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE);
            // Another directory is tried only once nothing made here is left.
            unresolved = Delete() && unresolved;
            m_path.clear();
            ::SetLastError(error);
            return FALSE;
        }
        return TRUE;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return FALSE;
}

BOOL ProtectedFolder::CreateAt(LPCWSTR path)
{
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    UniqueHandle hold;
    const NTSTATUS result =
        CreateFolder(nullptr, NtPath(full), FILE_LIST_DIRECTORY | FILE_TRAVERSE, kShareHeld, nullptr, hold);
    if (!NT_SUCCESS(result))
        return Fail(result);
    m_hold = std::move(hold);
    FinalPath(m_hold.Get(), full, m_path);
    return TRUE;
}

BOOL ProtectedFolder::CreateSubfolder(LPCWSTR name)
{
    UniqueHandle folder;
    const NTSTATUS result = CreateFolder(m_hold.Get(), name, FILE_LIST_DIRECTORY, kShareAll, nullptr, folder);
    return NT_SUCCESS(result) ? TRUE : Fail(result);
}

BOOL ProtectedFolder::Delete()
{
    if (!m_hold)
        return TRUE;
    // The folder itself can only be opened for deletion once no handle of
    // ours refuses to share that; the hold gives way to one that shares it.
    UniqueHandle sharing;
    if (NT_SUCCESS(OpenFile(m_hold.Get(), L"", FILE_LIST_DIRECTORY, kShareAll, FILE_DIRECTORY_FILE, sharing)))
        m_hold = std::move(sharing);
    for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
        if (attempt != 0)
            ::Sleep(kDeletePause);
        UniqueHandle self;
        if (DeleteContents(m_hold.Get()) &&
            NT_SUCCESS(OpenFile(m_hold.Get(), L"", DELETE, kShareAll, FILE_DIRECTORY_FILE, self)) &&
            MarkForDeletion(self.Get())) {
            m_hold.Reset();
            return TRUE;
        }
    }
    return FALSE;
}
