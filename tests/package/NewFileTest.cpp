#include "package/NewFile.h"

#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
TEST(NewFile, IsWrittenWholeAndNeverTakesOverWhatExistsUnderTheName)
{
    ScratchTempFolder temp;
    const std::wstring fresh = temp.Path() + L"\\fresh.tmp";
    EXPECT_TRUE(WriteNewFile(fresh.c_str(), "MSCF", 4, nullptr));
    EXPECT_EQ(ReadBytes(fresh), "MSCF");

    const std::wstring planted = temp.Path() + L"\\planted.tmp";
    ASSERT_TRUE(WriteBytes(planted, "someone else's"));
    const std::wstring folder = temp.Path() + L"\\folder.tmp";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(WriteNewFile(planted.c_str(), "MSCF", 4, nullptr));
    EXPECT_FALSE(WriteNewFile(folder.c_str(), "MSCF", 4, nullptr));
    EXPECT_EQ(ReadBytes(planted), "someone else's");
    EXPECT_TRUE(IsFolder(folder));
}
}  // namespace
