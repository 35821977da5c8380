#include "package/NativeArch.h"
#include "package/WorkFolder.h"

#include "support/NativeArchOverride.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/WindowsArch.h"

#include <gtest/gtest.h>

namespace {
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
    const std::wstring first = CreateWorkFolder(nullptr);
    const std::wstring second = CreateWorkFolder(nullptr);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    for (const std::wstring& folder : { first, second }) {
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
    EXPECT_EQ(CreateWorkFolder(nullptr), L"");
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, DeletionRemovesTheTreeAndIgnoresAMissingFolder)
{
    ScratchTempFolder temp;
    const std::wstring folder = CreateWorkFolder(nullptr);
    ASSERT_TRUE(WriteBytes(folder + L"\\amd64\\devcon.exe", "MZ"));
    DeleteWorkFolder(folder, nullptr);
    EXPECT_FALSE(IsFolder(folder));
    DeleteWorkFolder(folder, nullptr);
    DeleteWorkFolder(L"", nullptr);
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>());
}

TEST(WorkFolder, ArchitectureFolderFollowsNativeArch)
{
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), std::wstring(L"C:\\Temp\\tq1.tmp\\") + WindowsArch());
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    EXPECT_EQ(ArchFolder(L"C:\\Temp\\tq1.tmp"), L"C:\\Temp\\tq1.tmp\\ia64");
}
}  // namespace
