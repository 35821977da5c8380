#include "package/ExclusiveFile.h"

#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
UniqueHandle Open(const std::wstring& path, DWORD access, DWORD share)
{
    return UniqueHandle(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(ExclusiveFile, LetsOthersReadButNotWriteOrDeleteAndGoesAway)
{
    ScratchTempFolder temp;
    const std::wstring path = temp.Path() + L"\\file.tmp";
    {
        ExclusiveFile file;
        ASSERT_TRUE(file.Create(path.c_str()));
        ASSERT_TRUE(file.Write("MSCF", 4));

        EXPECT_FALSE(Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(::DeleteFileW(path.c_str()));
        // The way the cabinet iteration opens it.
        EXPECT_TRUE(Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE));
        EXPECT_EQ(ReadBytes(path), "MSCF");
    }
    EXPECT_FALSE(IsFile(path));
}

TEST(ExclusiveFile, NeverTakesOverWhatExistsUnderTheName)
{
    ScratchTempFolder temp;
    const std::wstring planted = temp.Path() + L"\\planted.tmp";
    ASSERT_TRUE(WriteBytes(planted, "someone else's"));
    const std::wstring folder = temp.Path() + L"\\folder.tmp";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    {
        ExclusiveFile onFile;
        EXPECT_FALSE(onFile.Create(planted.c_str()));
        ExclusiveFile onFolder;
        EXPECT_FALSE(onFolder.Create(folder.c_str()));
    }
    EXPECT_EQ(ReadBytes(planted), "someone else's");
    EXPECT_TRUE(IsFolder(folder));
}
}  // namespace
