#include "package/CabFile.h"
#include "package/NativeArch.h"
#include "package/WorkFolder.h"

#include "support/ImportPatch.h"
#include "support/NativeArchOverride.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/WindowsArch.h"

#include <gtest/gtest.h>

#include <sddl.h>
#include <winternl.h>

namespace {
// The security descriptors the product hands the platform when it creates a
// folder (NtCreateFile) or a file (CreateFileW), in text form.
std::vector<std::wstring> g_created;

void RecordCreation(const wchar_t* kind, PSECURITY_DESCRIPTOR descriptor)
{
    LPWSTR text = nullptr;
    if (!descriptor) {
        g_created.push_back(std::wstring(kind) + L" inheriting");
    } else if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                      OWNER_SECURITY_INFORMATION |
                                                                          DACL_SECURITY_INFORMATION,
                                                                      &text, nullptr)) {
        g_created.push_back(std::wstring(kind) + L" " + text);
        ::LocalFree(text);
    } else {
        g_created.push_back(std::wstring(kind) + L" unreadable");
    }
}

decltype(&::NtCreateFile) g_realNtCreateFile = nullptr;
NTSTATUS NTAPI RecordingNtCreateFile(PHANDLE handle, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes,
                                     PIO_STATUS_BLOCK status, PLARGE_INTEGER size, ULONG fileAttributes, ULONG share,
                                     ULONG disposition, ULONG options, PVOID ea, ULONG eaLength)
{
    if (disposition == FILE_CREATE)
        RecordCreation(L"folder", attributes->SecurityDescriptor);
    return g_realNtCreateFile(handle, access, attributes, status, size, fileAttributes, share, disposition, options,
                              ea, eaLength);
}

decltype(&::CreateFileW) g_realCreateFileW = nullptr;
HANDLE WINAPI RecordingCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                   DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (disposition == CREATE_NEW)
        RecordCreation(L"file", security ? security->lpSecurityDescriptor : nullptr);
    return g_realCreateFileW(name, access, share, security, disposition, flags, templateFile);
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
    ProtectedFolder first = CreateWorkFolder(nullptr);
    ProtectedFolder second = CreateWorkFolder(nullptr);
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
    DeleteWorkFolder(first, nullptr);
    DeleteWorkFolder(second, nullptr);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, IsNoneWhenTheTemporaryDirectoryIsMissing)
{
    ScratchTempFolder temp;
    ScratchTempFolder::SetTmp(temp.Path() + L"\\missing");
    EXPECT_EQ(CreateWorkFolder(nullptr).Path(), L"");
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
    EXPECT_EQ(CreateWorkFolder(nullptr).Path(), L"");
    CCabFile cab(FALSE);
    const char image[] = "MSCF";
    EXPECT_FALSE(cab.ExtractFromMemory(image, sizeof(image), (temp.Path() + L"\\dest").c_str()));
    EXPECT_EQ(FolderEntries(tooLong), std::vector<std::wstring>());
}

TEST(WorkFolder, IsCreatedForAdministratorsAloneAsIsTheTemporaryCabinet)
{
    ScratchTempFolder temp;
    g_created.clear();
    {
        ImportPatch folders("ntdll.dll", "NtCreateFile", reinterpret_cast<void*>(&RecordingNtCreateFile),
                            reinterpret_cast<void**>(&g_realNtCreateFile));
        ImportPatch files("kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&RecordingCreateFileW),
                          reinterpret_cast<void**>(&g_realCreateFileW));
        ProtectedFolder folder = CreateWorkFolder(nullptr);
        ASSERT_FALSE(folder.Path().empty());
        CCabFile cab(TRUE);
        const std::string image = ReadBytes(EnvironmentValue(L"TAVRIN_TEST_CABINETS") + L"\\flat.cab");
        EXPECT_TRUE(cab.ExtractFromMemory(image.data(), static_cast<DWORD>(image.size()), folder.Path().c_str()));
        DeleteWorkFolder(folder, nullptr);
    }
    // Owned by Administrators, protected from what the temporary directory
    // would pass on, full access for Administrators and LocalSystem alone,
    // passed on to all inside.
    const std::wstring adminOnly = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    EXPECT_EQ(g_created, (std::vector<std::wstring>{ L"folder " + adminOnly,  // the work folder
                                                      L"folder " + adminOnly,  // the cabinet's
                                                      L"file " + adminOnly }));
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, CannotBeRenamedUntilItIsDeleted)
{
    ScratchTempFolder temp;
    ProtectedFolder folder = CreateWorkFolder(nullptr);
    ASSERT_FALSE(folder.Path().empty());
    const std::wstring moved = temp.Path() + L"\\moved";
    EXPECT_FALSE(::MoveFileW(folder.Path().c_str(), moved.c_str()));
    EXPECT_FALSE(IsFolder(moved));
    DeleteWorkFolder(folder, nullptr);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, DeletionRemovesTheTreeAndIgnoresAMissingFolder)
{
    ScratchTempFolder temp;
    ProtectedFolder folder = CreateWorkFolder(nullptr);
    ASSERT_TRUE(WriteBytes(folder.Path() + L"\\amd64\\devcon.exe", "MZ"));
    DeleteWorkFolder(folder, nullptr);
    EXPECT_FALSE(IsFolder(folder.Path()));
    DeleteWorkFolder(folder, nullptr);
    ProtectedFolder none;
    DeleteWorkFolder(none, nullptr);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, ArchitectureFolderFollowsNativeArch)
{
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), std::wstring(L"C:\\Temp\\tq1.tmp\\") + WindowsArch());
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), L"C:\\Temp\\tq1.tmp\\ia64");
}
}  // namespace
