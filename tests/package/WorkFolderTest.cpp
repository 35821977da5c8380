#include "package/CabFile.h"
#include "package/NativeArch.h"
#include "package/WorkFolder.h"

#include "framework/SystemLibrary.h"
#include "framework/UniqueResource.h"

#include "support/DebugOutputCapture.h"
#include "support/ImportPatch.h"
#include "support/NativeArchOverride.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/WindowsArch.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <sddl.h>
#include <versionhelpers.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>

namespace {
// Whether an entry is passed on to every file and folder inside, and applies here too.
bool PassedOnToAll(BYTE aceFlags)
{
    return (aceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE | INHERIT_ONLY_ACE)) ==
           (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
}

// What is wrong with a descriptor the product creates a folder or file with,
// for administrators alone; empty when nothing is.
std::string AdminOnlyFaults(PSECURITY_DESCRIPTOR descriptor)
{
    if (!descriptor)
        return "inherits";
    std::string faults;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner ||
        !::IsWellKnownSid(owner, WinBuiltinAdministratorsSid))
        faults += " owner not Administrators;";
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!::GetSecurityDescriptorControl(descriptor, &control, &revision) || !(control & SE_DACL_PROTECTED))
        faults += " DACL not protected;";
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl)
        return faults + " no DACL;";
    // Each entry grants, to everything below as well; nobody else appears.
    struct Grant {
        WELL_KNOWN_SID_TYPE who;
        ACCESS_MASK access;
        bool seen;
    };
    std::vector<Grant> grants = { { WinBuiltinAdministratorsSid, FILE_ALL_ACCESS, false },
                                  { WinLocalSystemSid, FILE_ALL_ACCESS, false } };
    // Since Vista an owner inside may be the user: limited to reading the security.
    if (::IsWindowsVistaOrGreater())
        grants.push_back({ WinCreatorOwnerRightsSid, READ_CONTROL, false });
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) {
            faults += " an entry that does not grant;";
            continue;
        }
        const auto grant = std::find_if(grants.begin(), grants.end(), [&](const Grant& g) {
            return ::IsWellKnownSid(&ace->SidStart, g.who) && ace->Mask == g.access;
        });
        if (grant == grants.end() || grant->seen)
            faults += " an entry for someone else or with other rights;";
        else
            grant->seen = true;
        if (!PassedOnToAll(ace->Header.AceFlags))
            faults += " an entry not passed on to all inside;";
    }
    for (const Grant& grant : grants) {
        if (!grant.seen)
            faults += " an entry missing;";
    }
    if (::IsWindowsVistaOrGreater()) {
        PACL sacl = nullptr;
        SYSTEM_MANDATORY_LABEL_ACE* label = nullptr;
        if (!::GetSecurityDescriptorSacl(descriptor, &present, &sacl, &defaulted) || !present || !sacl ||
            sacl->AceCount != 1 || !::GetAce(sacl, 0, reinterpret_cast<void**>(&label)) ||
            label->Header.AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE ||
            !::IsWellKnownSid(&label->SidStart, WinHighLabelSid) || label->Mask != SYSTEM_MANDATORY_LABEL_NO_WRITE_UP ||
            !PassedOnToAll(label->Header.AceFlags))
            faults += " no inherited High no-write-up label;";
    }
    return faults;
}

// The folders and files the product creates (NtCreateFile, CreateFileW), in
// order: what is wrong with the security each was created with.
std::vector<std::string> g_created;

decltype(&::NtCreateFile) g_realNtCreateFile = nullptr;
NTSTATUS NTAPI RecordingNtCreateFile(PHANDLE handle, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes,
                                     PIO_STATUS_BLOCK status, PLARGE_INTEGER size, ULONG fileAttributes, ULONG share,
                                     ULONG disposition, ULONG options, PVOID ea, ULONG eaLength)
{
    const NTSTATUS result = g_realNtCreateFile(handle, access, attributes, status, size, fileAttributes, share,
                                               disposition, options, ea, eaLength);
    if (disposition == FILE_CREATE && NT_SUCCESS(result))
        g_created.push_back(AdminOnlyFaults(attributes->SecurityDescriptor));
    return result;
}

decltype(&::CreateFileW) g_realCreateFileW = nullptr;
HANDLE WINAPI RecordingCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                   DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (disposition == CREATE_NEW)
        g_created.push_back(AdminOnlyFaults(security ? security->lpSecurityDescriptor : nullptr));
    return g_realCreateFileW(name, access, share, security, disposition, flags, templateFile);
}

// Membership in the Administrators group that cannot be told.
BOOL WINAPI UnknownMembership(HANDLE, PSID, PBOOL)
{
    ::SetLastError(ERROR_NO_TOKEN);
    return FALSE;
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
    return text;
}

using GetFinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

// The final path of a handle, in lower case; empty when unknown.
std::wstring LowerFinalPath(HANDLE file)
{
    const auto getFinalPath = KernelFunction<GetFinalPathCall>("GetFinalPathNameByHandleW");
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = getFinalPath ? getFinalPath(file, path, MAX_PATH * 2, 0) : 0;
    return Lower(std::wstring(path, length < MAX_PATH * 2 ? length : 0));
}

// Why the user's temporary directory cannot serve: his volume (the folders
// below g_refusedRoot) lacks ACLs or is remote, the directory is missing or a
// file, or the system gives no final path below g_refusedRoot.
enum class Refuse { Acls, Local, Missing, File, FinalPath };
std::wstring g_refusedRoot;
Refuse g_refuse = Refuse::Acls;
decltype(&::NtQueryVolumeInformationFile) g_realQueryVolume = nullptr;
NTSTATUS NTAPI RefusingQueryVolume(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG length,
                                   FS_INFORMATION_CLASS infoClass)
{
    const NTSTATUS result = g_realQueryVolume(file, status, info, length, infoClass);
    if (!NT_SUCCESS(result) || LowerFinalPath(file).find(g_refusedRoot) == std::wstring::npos)
        return result;
    if (infoClass == FileFsAttributeInformation && g_refuse == Refuse::Acls)
        static_cast<FILE_FS_ATTRIBUTE_INFORMATION*>(info)->FileSystemAttributes &= ~FILE_PERSISTENT_ACLS;
    if (infoClass == FileFsDeviceInformation && g_refuse == Refuse::Local)
        static_cast<FILE_FS_DEVICE_INFORMATION*>(info)->Characteristics |= 0x10;  // FILE_REMOTE_DEVICE
    return result;
}

// As on a RAM disk whose volume the mount manager does not know.
GetFinalPathCall g_realGetFinalPath = nullptr;
DWORD WINAPI RefusingGetFinalPath(HANDLE file, LPWSTR path, DWORD capacity, DWORD flags)
{
    const DWORD length = g_realGetFinalPath(file, path, capacity, flags);
    if (g_refuse != Refuse::FinalPath || length == 0 || length >= capacity ||
        Lower(std::wstring(path, length)).find(g_refusedRoot) == std::wstring::npos)
        return length;
    ::SetLastError(ERROR_INVALID_FUNCTION);
    return 0;
}
// The product finds GetFinalPathNameByHandleW at run time.
decltype(&::GetProcAddress) g_realGetProcAddress = nullptr;
FARPROC WINAPI RefusingGetProcAddress(HMODULE module, LPCSTR name)
{
    const FARPROC found = g_realGetProcAddress(module, name);
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "GetFinalPathNameByHandleW") == 0 && found) {
        g_realGetFinalPath = reinterpret_cast<GetFinalPathCall>(reinterpret_cast<void (*)()>(found));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&RefusingGetFinalPath));
    }
    return found;
}

// The random numbers the product names its folders with, from a list; the last repeats.
std::vector<USHORT> g_randoms;
size_t g_randomCalls = 0;
BOOLEAN WINAPI ListedRandom(PVOID buffer, ULONG length)
{
    const USHORT value = g_randoms[std::min(g_randomCalls++, g_randoms.size() - 1)];
    std::memset(buffer, 0, length);
    std::memcpy(buffer, &value, std::min<ULONG>(length, sizeof(value)));
    return TRUE;
}

// Name-based calls on the tool's own folders: a name could lead elsewhere
// by then.
std::vector<std::wstring> g_byName;
void RecordByName(const wchar_t* call, const std::wstring& path)
{
    const std::wstring lower = Lower(path);
    const size_t slash = lower.find_last_of(L"\\");
    const std::wstring leaf = lower.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if ((leaf.compare(0, 2, L"tq") == 0 || leaf.compare(0, 3, L"myc") == 0) && leaf.size() > 4 &&
        leaf.compare(leaf.size() - 4, 4, L".tmp") == 0)
        g_byName.push_back(std::wstring(call) + L" " + path);
}
// A name the native calls are given without a folder to look in.
void RecordByName(const wchar_t* call, const OBJECT_ATTRIBUTES* attributes)
{
    if (!attributes->RootDirectory)
        RecordByName(call, std::wstring(attributes->ObjectName->Buffer,
                                        attributes->ObjectName->Length / sizeof(wchar_t)));
}
NTSTATUS NTAPI NameWatchingNtCreateFile(PHANDLE handle, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes,
                                        PIO_STATUS_BLOCK status, PLARGE_INTEGER size, ULONG fileAttributes,
                                        ULONG share, ULONG disposition, ULONG options, PVOID ea, ULONG eaLength)
{
    // Creating a new name is no open of anything that is there.
    if (disposition != FILE_CREATE)
        RecordByName(L"NtCreateFile", attributes);
    return g_realNtCreateFile(handle, access, attributes, status, size, fileAttributes, share, disposition, options,
                              ea, eaLength);
}
decltype(&::NtOpenFile) g_realNtOpenFile = nullptr;
NTSTATUS NTAPI NameWatchingNtOpenFile(PHANDLE handle, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes,
                                      PIO_STATUS_BLOCK status, ULONG share, ULONG options)
{
    RecordByName(L"NtOpenFile", attributes);
    return g_realNtOpenFile(handle, access, attributes, status, share, options);
}
decltype(&::DeleteFileW) g_realDeleteFileW = nullptr;
BOOL WINAPI NameWatchingDeleteFileW(LPCWSTR path)
{
    RecordByName(L"DeleteFileW", path);
    return g_realDeleteFileW(path);
}
decltype(&::GetFileAttributesW) g_realGetFileAttributesW = nullptr;
DWORD WINAPI NameWatchingGetFileAttributesW(LPCWSTR path)
{
    RecordByName(L"GetFileAttributesW", path);
    return g_realGetFileAttributesW(path);
}
decltype(&::SHFileOperationW) g_realSHFileOperationW = nullptr;
int WINAPI NameWatchingSHFileOperationW(LPSHFILEOPSTRUCTW operation)
{
    RecordByName(L"SHFileOperationW", operation->pFrom);
    return g_realSHFileOperationW(operation);
}

std::string FlatCabinet()
{
    return ReadBytes(EnvironmentValue(L"TAVRIN_TEST_CABINETS") + L"\\flat.cab");
}

TEST(NativeArch, NamesTheArchitectureOfWindows)
{
    EXPECT_EQ(NativeArch(), WindowsArch());

    struct Case {
        WORD architecture;
        const wchar_t* name;
    };
    const Case cases[] = {
        { PROCESSOR_ARCHITECTURE_INTEL, L"x86" },
        { PROCESSOR_ARCHITECTURE_IA64, L"ia64" },
        { PROCESSOR_ARCHITECTURE_AMD64, L"amd64" },
        { PROCESSOR_ARCHITECTURE_ARM, L"x86" },
        { PROCESSOR_ARCHITECTURE_UNKNOWN, L"x86" },
    };
    for (const Case& c : cases) {
        NativeArchOverride architecture(c.architecture);
        EXPECT_EQ(NativeArch(), c.name) << c.architecture;
    }
}

TEST(WorkFolder, IsANewFolderInTheTemporaryDirectoryWithBothArchitectureFolders)
{
    ScratchTempFolder temp;
    ProtectedFolder first = CreateWorkFolder();
    ProtectedFolder second = CreateWorkFolder();
    ASSERT_FALSE(first.Path().empty());
    ASSERT_FALSE(second.Path().empty());
    EXPECT_NE(first.Path(), second.Path());
    for (const std::wstring& folder : { first.Path(), second.Path() }) {
        const std::wstring name = folder.substr(temp.Path().size() + 1);
        EXPECT_EQ(folder.substr(0, temp.Path().size() + 1), temp.Path() + L"\\");
        EXPECT_EQ(name.substr(0, 2), L"tq") << name;
        EXPECT_EQ(name.substr(name.size() - 4), L".tmp") << name;
        EXPECT_EQ(FolderEntries(folder), (std::vector<std::wstring>{ L"amd64", L"x86" }));
        EXPECT_EQ(FolderEntries(folder + L"\\x86"), std::vector<std::wstring>());
    }
    EXPECT_FALSE(first.CreateSubfolder(L"x86"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    DeleteWorkFolder(first);
    DeleteWorkFolder(second);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, IsNoneWithoutRoomForItsNameInTheTemporaryDirectory)
{
    ScratchTempFolder temp;
    // GetTempPathW adds the backslash: 247 characters, one more than leaves
    // room for the "tq" name.
    const std::wstring tooLong = NestedFolders(temp.Path(), 246);
    ASSERT_EQ(tooLong.size(), 246u);
    ScratchTempFolder::SetTmp(tooLong);
    EXPECT_EQ(CreateWorkFolder().Path(), L"");
    CCabFile cab(FALSE);
    const char image[] = "MSCF";
    EXPECT_FALSE(cab.ExtractFromMemory(image, sizeof(image), (temp.Path() + L"\\dest").c_str()));
    EXPECT_EQ(FolderEntries(tooLong), std::vector<std::wstring>());
}

TEST(WorkFolder, IsCreatedForAdministratorsAloneAsIsTheTemporaryCabinet)
{
    // Also when the process cannot tell whether it is an administrator.
    for (const bool membershipKnown : { true, false }) {
        ScratchTempFolder temp;
        g_created.clear();
        {
            ImportPatch folders("ntdll.dll", "NtCreateFile", reinterpret_cast<void*>(&RecordingNtCreateFile),
                                reinterpret_cast<void**>(&g_realNtCreateFile));
            ImportPatch files("kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&RecordingCreateFileW),
                              reinterpret_cast<void**>(&g_realCreateFileW));
            decltype(&::CheckTokenMembership) realMembership = nullptr;
            std::unique_ptr<ImportPatch> unknown;
            if (!membershipKnown)
                unknown = std::make_unique<ImportPatch>("advapi32.dll", "CheckTokenMembership",
                                                        reinterpret_cast<void*>(&UnknownMembership),
                                                        reinterpret_cast<void**>(&realMembership));
            ProtectedFolder folder = CreateWorkFolder();
            ASSERT_FALSE(folder.Path().empty());
            CCabFile cab(TRUE);
            const std::string image = FlatCabinet();
            EXPECT_TRUE(cab.ExtractFromMemory(image.data(), static_cast<DWORD>(image.size()), folder.Path().c_str()));
            DeleteWorkFolder(folder);
        }
        // The two folders and the cabinet carry the security themselves; the
        // architecture folders inherit it, as does what is extracted.
        EXPECT_EQ(g_created, (std::vector<std::string>{ "",            // the work folder
                                                        "inherits",    // x86
                                                        "inherits",    // amd64
                                                        "",            // the cabinet's folder
                                                        "" }))         // the cabinet
            << (membershipKnown ? "administrator" : "membership unknown");
        EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
    }
}

TEST(WorkFolder, GoesToTheWindowsTemporaryDirectoryWhereTheUsersCannotServe)
{
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring windowsTemp = Lower(std::wstring(windows) + L"\\temp\\");
    for (const Refuse refuse : { Refuse::Acls, Refuse::Local, Refuse::Missing, Refuse::File, Refuse::FinalPath }) {
        ScratchTempFolder temp;
        g_refusedRoot = Lower(temp.Path());
        g_refuse = refuse;
        std::vector<std::wstring> left;
        if (refuse == Refuse::Missing)
            ScratchTempFolder::SetTmp(temp.Path() + L"\\missing");
        if (refuse == Refuse::File) {
            ASSERT_TRUE(WriteBytes(temp.Path() + L"\\file", ""));
            ScratchTempFolder::SetTmp(temp.Path() + L"\\file");
            left.push_back(L"file");
        }
        {
            ImportPatch volume("ntdll.dll", "NtQueryVolumeInformationFile",
                               reinterpret_cast<void*>(&RefusingQueryVolume),
                               reinterpret_cast<void**>(&g_realQueryVolume));
            ImportPatch finalPath("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&RefusingGetProcAddress),
                                  reinterpret_cast<void**>(&g_realGetProcAddress));
            DebugOutputCapture trace;
            ProtectedFolder folder = CreateWorkFolder();
            EXPECT_EQ(trace.Lines(),
                      std::vector<std::wstring>{ L"temporary folder in the Windows temporary directory\n" })
                << static_cast<int>(refuse);
            EXPECT_EQ(Lower(folder.Path()).substr(0, windowsTemp.size()), windowsTemp)
                << testing::PrintToString(folder.Path());
            CCabFile cab(TRUE);
            const std::string image = FlatCabinet();
            EXPECT_TRUE(cab.ExtractFromMemory(image.data(), static_cast<DWORD>(image.size()), folder.Path().c_str()));
            EXPECT_TRUE(IsFile(folder.Path() + L"\\alpha.txt"));
            EXPECT_EQ(temp.Entries(), left) << static_cast<int>(refuse);
            DeleteWorkFolder(folder);
            EXPECT_FALSE(IsFolder(folder.Path()));
        }
    }
    // Where the Windows folder's would not enforce the security either, nothing is made.
    ScratchTempFolder temp;
    g_refusedRoot.clear();
    g_refuse = Refuse::Acls;
    ImportPatch volume("ntdll.dll", "NtQueryVolumeInformationFile", reinterpret_cast<void*>(&RefusingQueryVolume),
                       reinterpret_cast<void**>(&g_realQueryVolume));
    EXPECT_EQ(CreateWorkFolder().Path(), L"");
}

TEST(WorkFolder, IsNoneWhereItsFinalPathLeavesNoRoom)
{
    // Named in its short form the temporary directory leaves room for the
    // folder and what goes below it; the folder's final path does not. (Wine's
    // 32-bit GetFinalPathNameByHandleW fails on paths of 260 characters or more.)
    ScratchTempFolder temp;
    const std::wstring directory = NestedFolders(temp.Path(), 240);
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameW(directory.c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(length != 0 && length < 200) << length;
    ScratchTempFolder::SetTmp(shortPath);
    ProtectedFolder folder;
    EXPECT_FALSE(folder.Create(L"tq", 20, AdminOnlySecurity()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(FolderEntries(directory), std::vector<std::wstring>());
}

TEST(WorkFolder, NamesThatAreTakenAreNeverTouched)
{
    ScratchTempFolder temp;
    wchar_t taken[MAX_PATH] = {};
    ASSERT_NE(::GetTempFileNameW((temp.Path() + L"\\").c_str(), L"tq", 0x7a5, taken), 0u);
    ASSERT_TRUE(WriteBytes(taken, "someone else's"));
    BOOLEAN(WINAPI * realRandom)(PVOID, ULONG) = nullptr;
    ImportPatch random("advapi32.dll", "SystemFunction036", reinterpret_cast<void*>(&ListedRandom),
                       reinterpret_cast<void**>(&realRandom));
    // Every name the tool would try is taken: a hundred.
    g_randoms = { 0x7a5 };
    g_randomCalls = 0;
    EXPECT_EQ(CreateWorkFolder().Path(), L"");
    EXPECT_EQ(g_randomCalls, 100u);
    // Some are. A random 0 does not go to GetTempFileNameW, which would
    // create a file with it.
    g_randoms = { 0x7a5, 0x7a5, 0 };
    g_randomCalls = 0;
    ProtectedFolder folder = CreateWorkFolder();
    EXPECT_FALSE(folder.Path().empty());
    EXPECT_EQ(ReadBytes(taken), "someone else's");
    DeleteWorkFolder(folder);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>{ std::wstring(taken).substr(temp.Path().size() + 1) });
}

TEST(WorkFolder, CannotBeRenamedUntilItIsDeleted)
{
    ScratchTempFolder temp;
    ProtectedFolder folder = CreateWorkFolder();
    ASSERT_FALSE(folder.Path().empty());
    const std::wstring moved = temp.Path() + L"\\moved";
    EXPECT_FALSE(::MoveFileW(folder.Path().c_str(), moved.c_str()));
    EXPECT_FALSE(IsFolder(moved));
    DeleteWorkFolder(folder);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, DeletionRemovesTheTreeThroughItsHandles)
{
    ScratchTempFolder temp;
    g_byName.clear();
    {
        ProtectedFolder folder = CreateWorkFolder();
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(WriteBytes(folder.Path() + L"\\amd64\\devcon.exe", "MZ"));
        ASSERT_TRUE(::CreateDirectoryW((folder.Path() + L"\\x86\\inner").c_str(), nullptr));
        const std::wstring readOnly = folder.Path() + L"\\x86\\inner\\read-only.txt";
        ASSERT_TRUE(WriteBytes(readOnly, "x"));
        ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
        // No name the tool made is tested, opened or deleted once made: by
        // then it could lead elsewhere.
        ImportPatch nt("ntdll.dll", "NtCreateFile", reinterpret_cast<void*>(&NameWatchingNtCreateFile),
                       reinterpret_cast<void**>(&g_realNtCreateFile));
        ImportPatch ntOpen("ntdll.dll", "NtOpenFile", reinterpret_cast<void*>(&NameWatchingNtOpenFile),
                           reinterpret_cast<void**>(&g_realNtOpenFile));
        ImportPatch deleteFile("kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&NameWatchingDeleteFileW),
                               reinterpret_cast<void**>(&g_realDeleteFileW));
        ImportPatch attributes("kernel32.dll", "GetFileAttributesW",
                               reinterpret_cast<void*>(&NameWatchingGetFileAttributesW),
                               reinterpret_cast<void**>(&g_realGetFileAttributesW));
        ImportPatch shell("shell32.dll", "SHFileOperationW", reinterpret_cast<void*>(&NameWatchingSHFileOperationW),
                          reinterpret_cast<void**>(&g_realSHFileOperationW));
        {
            CCabFile cab(TRUE);
            const std::string image = FlatCabinet();
            EXPECT_TRUE(cab.ExtractFromMemory(image.data(), static_cast<DWORD>(image.size()), folder.Path().c_str()));
            DeleteWorkFolder(folder);
        }
        // Again, and once more as the object goes: nothing is left to do.
        DeleteWorkFolder(folder);
    }
    EXPECT_EQ(g_byName, std::vector<std::wstring>());
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
    ProtectedFolder none;
    DeleteWorkFolder(none);
}

TEST(WorkFolder, DeletionWaitsForWhatStillHoldsPartsOfItOpenForAMoment)
{
    ScratchTempFolder temp;
    ProtectedFolder folder = CreateWorkFolder();
    ASSERT_FALSE(folder.Path().empty());
    // As a command's console host holds its current folder for a moment
    // after the command ended: without delete sharing.
    std::vector<std::shared_ptr<UniqueHandle>> held;
    for (const std::wstring& path : { folder.Path(), folder.Path() + L"\\amd64" }) {
        held.push_back(std::make_shared<UniqueHandle>(::CreateFileW(path.c_str(), FILE_TRAVERSE,
                                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
        ASSERT_TRUE(held.back()->IsValid());
    }
    std::thread release([held] {
        ::Sleep(300);
        for (const auto& handle : held)
            handle->Reset();
    });
    DeleteWorkFolder(folder);
    release.join();
    EXPECT_FALSE(IsFolder(folder.Path()));
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, ArchitectureFolderFollowsNativeArch)
{
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), std::wstring(L"C:\\Temp\\tq1.tmp\\") + WindowsArch());
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), L"C:\\Temp\\tq1.tmp\\ia64");
}
}  // namespace
