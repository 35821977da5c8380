#include "package/CabFile.h"

#include "framework/SetupApi.h"
#include "framework/UniqueResource.h"

#include "support/ImportPatch.h"
#include "support/ScopedSwap.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/Utf8AnsiCodePage.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>

namespace {
std::wstring CabinetPath(const wchar_t* name)
{
    return EnvironmentValue(L"TAVRIN_TEST_CABINETS") + L"\\" + name;
}

std::string Cabinet(const wchar_t* name)
{
    return ReadBytes(CabinetPath(name));
}

// What a cabinet entry holds, from the files the cabinets were made of.
std::string Content(const wchar_t* name)
{
    return ReadBytes(CabinetPath(L"content\\") + name);
}

// Every file below the folder, by its path relative to it.
std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::wstring& prefix = L"")
{
    std::vector<std::wstring> files;
    for (const std::wstring& name : FolderEntries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (!IsFolder(path)) {
            files.push_back(prefix + name);
            continue;
        }
        for (const std::wstring& below : FilesBelow(path, prefix + name + L"\\"))
            files.push_back(below);
    }
    return files;
}

// Before the platform reads the cabinet: whether a reader that shares it with
// other readers only gets in, and whether the folder it lies in can be moved.
struct IterationProbe {
    static BOOL WINAPI Iterate(PCWSTR cabinet, DWORD reserved, PSP_FILE_CALLBACK_W callback, PVOID context)
    {
        opened = UniqueHandle(::CreateFileW(cabinet, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                            nullptr))
                     .IsValid();
        const std::wstring folder = std::wstring(cabinet).substr(0, std::wstring(cabinet).rfind(L'\\'));
        moved = ::MoveFileW(folder.c_str(), (folder + L".moved").c_str());
        return real(cabinet, reserved, callback, context);
    }
    static inline decltype(SetupApi::SetupIterateCabinetW) real = nullptr;
    static inline bool opened = false;
    static inline bool moved = true;
};

class CabFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Cabinet(L"good.cab").empty()) << "no test cabinets in TAVRIN_TEST_CABINETS";
    }

    BOOL Extract(CCabFile& cab, const std::string& image, const std::wstring& folder)
    {
        return cab.ExtractFromMemory(image.data(), static_cast<DWORD>(image.size()), folder.c_str());
    }

    // Temporary cabinets are named by the C runtime from the prefix "mycab".
    bool TemporaryCabinetLeft() const
    {
        for (std::wstring name : temp_.Entries()) {
            for (wchar_t& c : name)
                c = static_cast<wchar_t>(std::towlower(c));
            if (name.compare(0, 3, L"myc") == 0)
                return true;
        }
        return false;
    }

    std::wstring Folder(const wchar_t* name) const { return temp_.Path() + L"\\" + name; }

    ScratchTempFolder temp_;
};

TEST_F(CabFileTest, ExtractsEveryEntryUnderItsNameIntoAnExistingFolder)
{
    const std::wstring folder = Folder(L"dest");
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder + L"\\kept.txt", "kept"));
    {
        CCabFile cab(FALSE);
        EXPECT_TRUE(Extract(cab, Cabinet(L"good.cab"), folder));
        EXPECT_FALSE(TemporaryCabinetLeft());
    }
    EXPECT_EQ(ReadBytes(folder + L"\\root.txt"), Content(L"root.txt"));
    EXPECT_EQ(ReadBytes(folder + L"\\sub\\data.txt"), Content(L"sub\\data.txt"));
    // Not emptied first.
    EXPECT_EQ(ReadBytes(folder + L"\\kept.txt"), "kept");
}

TEST_F(CabFileTest, CreatesAMissingDestinationOneLevelDeep)
{
    const std::wstring folder = Folder(L"new");
    CCabFile cab(FALSE);
    EXPECT_TRUE(Extract(cab, Cabinet(L"flat.cab"), folder));
    EXPECT_EQ(ReadBytes(folder + L"\\alpha.txt"), Content(L"alpha.txt"));
    EXPECT_EQ(ReadBytes(folder + L"\\bravo.txt"), Content(L"bravo.txt"));

    CCabFile deeper(FALSE);
    EXPECT_FALSE(Extract(deeper, Cabinet(L"flat.cab"), Folder(L"missing\\inner")));
    EXPECT_FALSE(IsFolder(Folder(L"missing")));
    EXPECT_FALSE(TemporaryCabinetLeft());
}

TEST_F(CabFileTest, ExtractsFromACabinetFile)
{
    const std::wstring folder = Folder(L"fromfile");
    CCabFile cab(FALSE);
    EXPECT_TRUE(cab.ExtractFromFile(CabinetPath(L"flat.cab").c_str(), folder.c_str()));
    EXPECT_EQ(ReadBytes(folder + L"\\alpha.txt"), Content(L"alpha.txt"));
}

TEST_F(CabFileTest, FailsOnBadImagesLeavingNoTemporaryCabinetAndDeletesTheFolderWhenDestroyed)
{
    for (const wchar_t* name : { L"damaged.cab", L"truncated.cab", L"empty.cab" }) {
        const std::wstring folder = Folder(name) + L".out";
        {
            CCabFile cab(TRUE);
            EXPECT_FALSE(Extract(cab, Cabinet(name), folder)) << name;
            EXPECT_FALSE(TemporaryCabinetLeft()) << name;
            // Created before the iteration failed, and recorded for the destructor.
            EXPECT_TRUE(IsFolder(folder)) << name;
        }
        EXPECT_FALSE(IsFolder(folder)) << name;
    }
    EXPECT_EQ(temp_.Entries(), std::vector<std::wstring>());
}

TEST_F(CabFileTest, FailsOnEntriesThatLeadOutOfTheFolderAndWritesNothingOutside)
{
    // The second entry of each, after good.txt.
    const wchar_t* const cabinets[] = {
        L"parent.cab",       // ..\tavrin-hostile.txt
        L"parent-slash.cab", // ../tavrin-hostile.txt
        L"inner-parent.cab", // sub\..\..\tavrin-hostile.txt
        L"inner-parent-slash.cab",
        L"far-parent.cab",   // ..\..\..\tavrin-hostile.txt
        L"rooted.cab",       // \tavrin-hostile.txt
        L"rooted-slash.cab",
        L"drive.cab",        // C:\tavrin-hostile.txt
        L"drive-relative.cab",
        L"stream.cab",       // good.txt:tavrin-hostile
        L"parent-alone.cab", // ..
        L"dots.cab",         // ...
        L"dots-blank.cab",   // .. \tavrin-hostile.txt
        L"device.cab",       // NUL, which names a device wherever it stands
    };
    const std::wstring folder = Folder(L"a\\b\\dest");
    ASSERT_TRUE(::CreateDirectoryW(Folder(L"a").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(Folder(L"a\\b").c_str(), nullptr));
    // Where rooted and absolute names would land.
    const std::wstring outside[] = { folder.substr(0, 2) + L"\\tavrin-hostile.txt", L"C:\\tavrin-hostile.txt",
                                     L"C:tavrin-hostile.txt" };
    for (const wchar_t* name : cabinets) {
        const std::string image = ReadBytes(EnvironmentValue(L"TAVRIN_HOSTILE_CABINETS") + L"\\" + name);
        ASSERT_FALSE(image.empty()) << name;
        {
            CCabFile cab(TRUE);
            EXPECT_FALSE(Extract(cab, image, folder)) << name;
            for (const std::wstring& file : FilesBelow(temp_.Path()))
                EXPECT_EQ(file.substr(0, 9), L"a\\b\\dest\\") << name << ": " << testing::PrintToString(file);
        }
        for (const std::wstring& path : outside) {
            EXPECT_FALSE(IsFile(path)) << name << ": " << testing::PrintToString(path);
            ::DeleteFileW(path.c_str());
        }
        EXPECT_EQ(FilesBelow(temp_.Path()), std::vector<std::wstring>()) << name;
    }
}

TEST_F(CabFileTest, HandsThePlatformAClosedCabinetInAFolderNobodyCanMove)
{
    const std::wstring folder = Folder(L"dest");
    IterationProbe::real = SetupApi::Get().SetupIterateCabinetW;
    ScopedSwap<decltype(SetupApi::SetupIterateCabinetW)> probe(SetupApi::Get().SetupIterateCabinetW,
                                                                &IterationProbe::Iterate);
    CCabFile cab(FALSE);
    EXPECT_TRUE(Extract(cab, Cabinet(L"flat.cab"), folder));
    EXPECT_TRUE(IterationProbe::opened);
    EXPECT_FALSE(IterationProbe::moved);
    EXPECT_EQ(ReadBytes(folder + L"\\alpha.txt"), Content(L"alpha.txt"));
    EXPECT_FALSE(TemporaryCabinetLeft());
}

TEST_F(CabFileTest, CutsTargetPathsOf260CharactersOrMoreTo259)
{
    struct Case {
        size_t folderLength;
        const wchar_t* alphaName;  // alpha.txt under the name it gets
        const wchar_t* bravoName;
    };
    // The target is the folder, a backslash and the 9-character entry name.
    const Case cases[] = {
        { 249, L"alpha.txt", L"bravo.txt" },  // 259: fits
        { 250, L"alpha.tx", L"bravo.tx" },    // 260
        { 251, L"alpha.t", L"bravo.t" },      // 261
    };
    for (const Case& c : cases) {
        const std::wstring base = temp_.Path() + L"\\";
        ASSERT_LT(base.size(), c.folderLength);
        const std::wstring folder = base + std::wstring(c.folderLength - base.size(), L'd');
        {
            CCabFile cab(TRUE);
            EXPECT_TRUE(Extract(cab, Cabinet(L"flat.cab"), folder)) << c.folderLength;
            EXPECT_EQ(FolderEntries(folder), (std::vector<std::wstring>{ c.alphaName, c.bravoName }))
                << c.folderLength;
            EXPECT_EQ(ReadBytes(folder + L"\\" + c.alphaName), Content(L"alpha.txt")) << c.folderLength;
        }
        EXPECT_FALSE(IsFolder(folder)) << c.folderLength;
    }
    // 258: the backslash alone fits after the folder, whose own path the target would be.
    CCabFile cab(TRUE);
    const std::wstring full = temp_.Path() + L"\\" + std::wstring(257 - temp_.Path().size(), L'd');
    EXPECT_FALSE(Extract(cab, Cabinet(L"flat.cab"), full));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(TemporaryCabinetLeft());
}

TEST_F(CabFileTest, DeletesItsFolderOnlyWithAutoDeletion)
{
    const std::wstring kept = Folder(L"kept");
    const std::wstring deleted = Folder(L"deleted");
    {
        CCabFile keeping(FALSE);
        CCabFile deleting(TRUE);
        ASSERT_TRUE(Extract(keeping, Cabinet(L"flat.cab"), kept));
        ASSERT_TRUE(Extract(deleting, Cabinet(L"flat.cab"), deleted));
    }
    EXPECT_TRUE(IsFile(kept + L"\\alpha.txt"));
    EXPECT_FALSE(IsFolder(deleted));
}

TEST_F(CabFileTest, DeletesNothingItDidNotCreate)
{
    // The current folder, and a destination that was there before, such as
    // the work folder its maker deletes, stay untouched.
    const std::wstring current = Folder(L"current");
    ASSERT_TRUE(::CreateDirectoryW(current.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(current + L"\\file.txt", "x"));
    const std::wstring existing = Folder(L"existing");
    ASSERT_TRUE(::CreateDirectoryW(existing.c_str(), nullptr));
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(sizeof(previous) / sizeof(previous[0]), previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
    {
        CCabFile unused(TRUE);
    }
    {
        CCabFile cab(TRUE);
        ASSERT_TRUE(Extract(cab, Cabinet(L"flat.cab"), existing));
    }
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(FolderEntries(current), std::vector<std::wstring>{ L"file.txt" });
    EXPECT_EQ(FolderEntries(existing), (std::vector<std::wstring>{ L"alpha.txt", L"bravo.txt" }));
    EXPECT_EQ(temp_.Entries(), (std::vector<std::wstring>{ L"current", L"existing" }));
}

// Hands the callback the entry names in names, as the platform would from a
// cabinet whose names it reads in Unicode.
struct NameFeeder {
    static BOOL WINAPI Iterate(PCWSTR, DWORD, PSP_FILE_CALLBACK_W callback, PVOID context)
    {
        ++calls;
        FILE_IN_CABINET_INFO_W info = {};
        info.NameInCabinet = name;
        return callback(context, SPFILENOTIFY_FILEINCABINET, reinterpret_cast<UINT_PTR>(&info), 0) == FILEOP_DOIT;
    }
    static inline const wchar_t* name = nullptr;
    static inline int calls = 0;
};

DWORD WINAPI NoShortName(LPCWSTR, LPWSTR, DWORD)
{
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
}

// As for a folder that has no short name of its own.
DWORD WINAPI LongNameAsShort(LPCWSTR path, LPWSTR shortPath, DWORD capacity)
{
    ::lstrcpynW(shortPath, path, static_cast<int>(capacity));
    return static_cast<DWORD>(::lstrlenW(shortPath));
}

TEST_F(CabFileTest, RefusesNamesThatThePlatformWouldWriteUnderOthers)
{
    ScopedSwap<decltype(SetupApi::SetupIterateCabinetW)> feeder(SetupApi::Get().SetupIterateCabinetW,
                                                                &NameFeeder::Iterate);
    struct Case {
        const wchar_t* name;
        BOOL extracted;
        bool utf8;  // under the ANSI code page 65001
    };
    const Case cases[] = {
        { L"amd64\\devcon.exe", TRUE, false },
        // Fullwidth reverse solidus and solidus: a backslash and a slash after
        // a best-fit conversion.
        { L"..\xff3c..\xff3ctavrin-hostile.txt", FALSE, false },
        { L"..\xff0ftavrin-hostile.txt", FALSE, false },
        // A part of dots and blanks alone, which the file system drops: x86.
        { L"x86\\. ", FALSE, false },
        // UTF-8 holds Korean, but not a lone surrogate, which would come back as U+FFFD.
        { L"\ud55c\\devcon.exe", TRUE, true },
        { L"x86\\\xd800.exe", FALSE, true },
    };
    for (const Case& c : cases) {
        NameFeeder::name = c.name;
        std::unique_ptr<Utf8AnsiCodePage> utf8;
        if (c.utf8)
            utf8 = std::make_unique<Utf8AnsiCodePage>();
        CCabFile cab(TRUE);
        ::SetLastError(ERROR_SUCCESS);
        const BOOL extracted = cab.ExtractFromFile(CabinetPath(L"flat.cab").c_str(), Folder(L"dest").c_str());
        const DWORD error = ::GetLastError();
        EXPECT_EQ(extracted, c.extracted) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(error, c.extracted ? static_cast<DWORD>(ERROR_SUCCESS) : static_cast<DWORD>(ERROR_INVALID_NAME));
    }
}
TEST_F(CabFileTest, FailsBeforeIteratingWhereThePlatformCouldNotTakeTheFolder)
{
    // Korean is in none of the ANSI code pages the tests run under; without
    // short names on the volume no form of the path remains.
    const std::wstring folder = Folder(L"\ud55c");
    ScopedSwap<decltype(SetupApi::SetupIterateCabinetW)> feeder(SetupApi::Get().SetupIterateCabinetW,
                                                                &NameFeeder::Iterate);
    NameFeeder::name = L"alpha.txt";
    for (decltype(&::GetShortPathNameW) shortName : { &NoShortName, &LongNameAsShort }) {
        decltype(&::GetShortPathNameW) realShortName = nullptr;
        ImportPatch noShortNames("kernel32.dll", "GetShortPathNameW", reinterpret_cast<void*>(shortName),
                                 reinterpret_cast<void**>(&realShortName));
        NameFeeder::calls = 0;
        CCabFile cab(TRUE);
        EXPECT_FALSE(cab.ExtractFromFile(CabinetPath(L"flat.cab").c_str(), folder.c_str()));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
        EXPECT_EQ(NameFeeder::calls, 0);
    }
}
}  // namespace

