#include "package/CabFile.h"
#include "package/DriverPackage.h"

#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// The machine field of a PE image's file header; 0 when it is none.
WORD Machine(const std::string& image)
{
    IMAGE_DOS_HEADER dos = {};
    if (image.size() < sizeof(dos))
        return 0;
    std::memcpy(&dos, image.data(), sizeof(dos));
    IMAGE_FILE_HEADER file = {};
    const size_t offset = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || image.size() < offset + sizeof(file))
        return 0;
    std::memcpy(&file, image.data() + offset, sizeof(file));
    return file.Machine;
}

TEST(DriverPackage, HoldsDevconForBothArchitecturesAndTheInf)
{
    const std::optional<DriverPackage> package = LoadDriverPackage();
    ASSERT_TRUE(package.has_value());
    ASSERT_GT(package->cbData, 4u);
    EXPECT_EQ(std::memcmp(package->pData, "MSCF", 4), 0);

    ScratchTempFolder temp;
    const std::wstring folder = temp.Path() + L"\\package";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\x86").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\amd64").c_str(), nullptr));
    CCabFile cab(TRUE);
    ASSERT_TRUE(cab.ExtractFromMemory(package->pData, package->cbData, folder.c_str()));

    EXPECT_EQ(FolderEntries(folder), (std::vector<std::wstring>{ L"Tavrin.inf", L"amd64", L"x86" }));
    EXPECT_EQ(FolderEntries(folder + L"\\x86"), std::vector<std::wstring>{ L"devcon.exe" });
    EXPECT_EQ(FolderEntries(folder + L"\\amd64"), std::vector<std::wstring>{ L"devcon.exe" });
    EXPECT_EQ(Machine(ReadBytes(folder + L"\\x86\\devcon.exe")), IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(Machine(ReadBytes(folder + L"\\amd64\\devcon.exe")), IMAGE_FILE_MACHINE_AMD64);
    EXPECT_NE(ReadBytes(folder + L"\\Tavrin.inf").find("RUD\\VSerPort"), std::string::npos);
}
}  // namespace
