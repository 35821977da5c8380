// The DLL search after the start routine's restriction: a DLL lying in the
// program's own folder or in the current folder is not loaded by name.
#include "framework/DllSearch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const wchar_t kPlantedName[] = L"tavrin_planted.dll";

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

class DllSearch : public testing::Test {
protected:
    static void SetUpTestSuite() { RestrictDllSearch(); }
};

TEST_F(DllSearch, DllInTheProgramFolderIsNotLoadedByName)
{
    // The build puts the planted DLL next to this program; asked for by that
    // folder explicitly, it loads, so only the search keeps it out.
    HMODULE explicitly = ::LoadLibraryExW(kPlantedName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    ASSERT_NE(explicitly, nullptr);
    ::FreeLibrary(explicitly);

    EXPECT_EQ(::LoadLibraryW(kPlantedName), nullptr);
}

TEST_F(DllSearch, DllInTheCurrentFolderIsNotLoadedByName)
{
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"tavrin_dll_search";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring planted = folder + L"\\" + kPlantedName;
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\" + kPlantedName).c_str(), planted.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.c_str()));

    HMODULE loaded = ::LoadLibraryW(kPlantedName);
    EXPECT_EQ(loaded, nullptr);
    if (loaded)
        ::FreeLibrary(loaded);

    ::SetCurrentDirectoryW(previous);
    ::DeleteFileW(planted.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
