// The shipped executables read from outside, as files: version block,
// manifest, string tables, driver package, import table and debugging
// information of the 32-bit and 64-bit builds, and their symbols files.
#include "PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

struct Build {
    const char* name;
    const wchar_t* pathVariable;
    const wchar_t* symbolsVariable;
    WORD machine;
};

const Build kBuilds[] = {
    { "x86", L"TAVRIN_SETUP_X86", L"TAVRIN_SYMBOLS_X86", IMAGE_FILE_MACHINE_I386 },
    { "x64", L"TAVRIN_SETUP_X64", L"TAVRIN_SYMBOLS_X64", IMAGE_FILE_MACHINE_AMD64 },
};

// ---- Version block -------------------------------------------------------------

// Every string value of a version block by its path, the node names joined
// with backslashes, and the fixed part.
struct VersionBlock {
    VS_FIXEDFILEINFO fixed = {};
    std::map<std::wstring, std::wstring> values;
};

size_t Aligned(size_t at)
{
    return (at + 3) & ~size_t(3);
}

// One node: length, value length, type, key, then the value and children,
// each on a 32-bit boundary.
void ReadVersionNode(const std::string& bytes, size_t at, const std::wstring& parent, VersionBlock& block)
{
    if (at + 3 * sizeof(WORD) > bytes.size())
        return;
    const auto* words = reinterpret_cast<const WORD*>(bytes.data() + at);
    const size_t end = std::min(bytes.size(), at + words[0]);
    const size_t valueLength = words[1];
    const bool text = words[2] == 1;
    const auto* key = reinterpret_cast<const wchar_t*>(bytes.data() + at + 3 * sizeof(WORD));
    const std::wstring name(key, wcsnlen(key, (end - at) / sizeof(wchar_t)));
    const std::wstring path = parent.empty() ? name : parent + L"\\" + name;
    size_t value = Aligned(at + 3 * sizeof(WORD) + (name.size() + 1) * sizeof(wchar_t));
    const size_t valueBytes = text ? valueLength * sizeof(wchar_t) : valueLength;
    if (name == L"VS_VERSION_INFO" && valueBytes == sizeof(VS_FIXEDFILEINFO) && value + valueBytes <= end)
        block.fixed = *reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes.data() + value);
    else if (text && value + valueBytes <= end) {
        const auto* chars = reinterpret_cast<const wchar_t*>(bytes.data() + value);
        block.values[path] = std::wstring(chars, wcsnlen(chars, valueLength));
    }
    for (size_t child = Aligned(value + valueBytes); child + 3 * sizeof(WORD) <= end;) {
        const WORD childLength = *reinterpret_cast<const WORD*>(bytes.data() + child);
        if (childLength == 0)
            break;
        ReadVersionNode(bytes, child, path, block);
        child = Aligned(child + childLength);
    }
}

// ---- String tables -------------------------------------------------------------

// The strings of one 16-string block: each a length, then that many characters.
std::vector<std::wstring> StringBlock(const std::string& bytes)
{
    std::vector<std::wstring> strings;
    size_t at = 0;
    while (strings.size() < 16 && at + sizeof(WORD) <= bytes.size()) {
        const WORD length = *reinterpret_cast<const WORD*>(bytes.data() + at);
        at += sizeof(WORD);
        if (at + length * sizeof(wchar_t) > bytes.size())
            break;
        strings.emplace_back(reinterpret_cast<const wchar_t*>(bytes.data() + at), length);
        at += length * sizeof(wchar_t);
    }
    return strings;
}

// ---- Driver package ------------------------------------------------------------

// The records of a Microsoft Cabinet as they lie in the file: little-endian,
// without padding.
#pragma pack(push, 1)
struct CabinetHeader {
    char signature[4];
    DWORD reserved1;
    DWORD size;
    DWORD reserved2;
    DWORD filesOffset;
    DWORD reserved3;
    BYTE versionMinor;
    BYTE versionMajor;
    WORD folderCount;
    WORD fileCount;
    WORD flags;
    WORD setId;
    WORD cabinetIndex;
};
// Follows the header when kCabinetReservePresent is set.
struct CabinetReserve {
    WORD header;
    BYTE folder;
    BYTE data;
};
struct CabinetFolder {
    DWORD dataOffset;
    WORD dataBlockCount;
    WORD compression;
};
// Followed by the entry's name and a NUL.
struct CabinetFile {
    DWORD size;
    DWORD folderOffset;
    WORD folder;
    WORD date;
    WORD time;
    WORD attributes;
};
#pragma pack(pop)

const WORD kCabinetPrevious = 0x1;
const WORD kCabinetNext = 0x2;
const WORD kCabinetReservePresent = 0x4;
const WORD kCompressionMask = 0xF;
const WORD kCompressionMsZip = 1;

struct Cabinet {
    CabinetHeader header = {};
    std::vector<CabinetFolder> folders;
    std::vector<CabinetFile> files;
    std::vector<std::string> names;  // of files, in archive order
};

template <typename T>
bool ReadRecord(const std::string& bytes, size_t at, T& record)
{
    if (at > bytes.size() || bytes.size() - at < sizeof(T))
        return false;
    memcpy(&record, bytes.data() + at, sizeof(T));
    return true;
}

// The NUL-terminated text at `at`; false when the bytes end first.
bool ReadText(const std::string& bytes, size_t at, std::string& text)
{
    const size_t end = at < bytes.size() ? bytes.find('\0', at) : std::string::npos;
    if (end == std::string::npos)
        return false;
    text = bytes.substr(at, end - at);
    return true;
}

// Header, folder records and file records; false when a record is cut off.
bool ReadCabinet(const std::string& bytes, Cabinet& cabinet)
{
    if (!ReadRecord(bytes, 0, cabinet.header))
        return false;
    size_t at = sizeof(CabinetHeader);
    size_t folderReserve = 0;
    if (cabinet.header.flags & kCabinetReservePresent) {
        CabinetReserve reserve = {};
        if (!ReadRecord(bytes, at, reserve))
            return false;
        at += sizeof(reserve) + reserve.header;
        folderReserve = reserve.folder;
    }
    // The names of the neighbouring cabinet and its disk, for each neighbour.
    const WORD flags = cabinet.header.flags;
    const int neighbours = ((flags & kCabinetPrevious) ? 1 : 0) + ((flags & kCabinetNext) ? 1 : 0);
    for (int text = 0; text < 2 * neighbours; ++text) {
        std::string skipped;
        if (!ReadText(bytes, at, skipped))
            return false;
        at += skipped.size() + 1;
    }
    for (WORD i = 0; i < cabinet.header.folderCount; ++i, at += sizeof(CabinetFolder) + folderReserve) {
        CabinetFolder folder = {};
        if (!ReadRecord(bytes, at, folder))
            return false;
        cabinet.folders.push_back(folder);
    }
    at = cabinet.header.filesOffset;
    for (WORD i = 0; i < cabinet.header.fileCount; ++i) {
        CabinetFile file = {};
        std::string name;
        if (!ReadRecord(bytes, at, file) || !ReadText(bytes, at + sizeof(file), name))
            return false;
        cabinet.files.push_back(file);
        cabinet.names.push_back(name);
        at += sizeof(file) + name.size() + 1;
    }
    return true;
}

// The entries the build packed into the shipped package, in packing order.
std::vector<std::string> PackedEntries()
{
    std::vector<std::string> entries;
    const char* list = getenv("TAVRIN_PACKAGE_ENTRIES");
    for (std::string rest = list ? list : ""; !rest.empty();) {
        const size_t bar = rest.find('|');
        entries.push_back(rest.substr(0, bar));
        rest = bar == std::string::npos ? std::string() : rest.substr(bar + 1);
    }
    return entries;
}

// ---- Fixture -------------------------------------------------------------------

class ReleaseImage : public testing::TestWithParam<Build> {
protected:
    void SetUp() override
    {
        const wchar_t* path = _wgetenv(GetParam().pathVariable);
        ASSERT_NE(path, nullptr) << "no path in the environment";
        ASSERT_TRUE(m_image.Load(path)) << testing::PrintToString(std::wstring(path));
    }

    PeImage m_image;
};

TEST_P(ReleaseImage, IsBuiltForItsProcessor)
{
    EXPECT_EQ(m_image.Machine(), GetParam().machine);
}

TEST_P(ReleaseImage, VersionBlockCarriesEveryValue)
{
    const auto resource = m_image.Resource(RT_VERSION, 1, kEnglish);
    ASSERT_TRUE(resource);
    VersionBlock block;
    ReadVersionNode(*resource, 0, L"", block);

    EXPECT_EQ(block.fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(block.fixed.dwFileVersionMS, MAKELONG(4, 2));
    EXPECT_EQ(block.fixed.dwFileVersionLS, MAKELONG(1206, 2016));
    EXPECT_EQ(block.fixed.dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(block.fixed.dwProductVersionLS, MAKELONG(0, 1));
    EXPECT_EQ(block.fixed.dwFileFlags, 0x9u);
    EXPECT_EQ(block.fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(block.fixed.dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(block.fixed.dwFileType, static_cast<DWORD>(VFT_APP));

    const std::wstring table = L"VS_VERSION_INFO\\StringFileInfo\\040904B0\\";
    const std::map<std::wstring, std::wstring> expected = {
        { table + L"CompanyName", L"" },
        { table + L"FileDescription", L"Tavrin Installer" },
        { table + L"FileVersion", L"2.4.2016.1206 built by: WinDDK" },
        { table + L"InternalName", L"setup" },
        { table + L"LegalCopyright", L"" },
        { table + L"OriginalFilename", L"setup.exe" },
        { table + L"ProductName", L"Tavrin" },
        { table + L"ProductVersion", L"1.2.1.0" },
        // The translation is binary: 0x0409, 0x04B0.
    };
    std::map<std::wstring, std::wstring> strings;
    for (const auto& [path, value] : block.values)
        if (path.compare(0, table.size(), table) == 0)
            strings[path] = value;
    EXPECT_EQ(strings, expected);
}

TEST_P(ReleaseImage, ManifestAsksForAdministratorWithoutUiAccess)
{
    const auto manifest = m_image.Resource(RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_TRUE(manifest);
    const size_t element = manifest->find("<requestedExecutionLevel ");
    ASSERT_NE(element, std::string::npos);
    const std::string tag = manifest->substr(element, manifest->find('>', element) - element);
    EXPECT_NE(tag.find(" level=\"requireAdministrator\""), std::string::npos) << tag;
    EXPECT_NE(tag.find(" uiAccess=\"false\""), std::string::npos) << tag;
}

TEST_P(ReleaseImage, StringTablesHoldEveryTextInBothLanguages)
{
    struct Table {
        LANGID language;
        std::vector<std::wstring> texts;  // 40000 to 40010
    };
    const Table tables[] = {
        { kEnglish,
          { L"Warning", L"Error", L"The port exists!", L"There is no any port!", L"Please select one port first!",
            L"Fail to install the port!", L"Fail to uninstall the port!", L"Name", L"Port installation is successful!",
            L"Port uninstall is successful!", L"Type" } },
        { kChinese,
          { L"警告", L"错误", L"端口已经存在！", L"没有任何端口！", L"请先选择一个端口！", L"端口安装失败！",
            L"端口卸载失败！", L"名称", L"端口安装成功！", L"端口卸载成功！", L"类型" } },
    };
    const WORD block = 40000 / 16 + 1;
    for (const Table& table : tables) {
        const auto resource = m_image.Resource(RT_STRING, block, table.language);
        ASSERT_TRUE(resource) << table.language;
        std::vector<std::wstring> texts = StringBlock(*resource);
        ASSERT_EQ(texts.size(), 16u) << table.language;
        EXPECT_EQ(std::vector<std::wstring>(texts.begin(), texts.begin() + 11), table.texts) << table.language;
        // 40011 to 40015 are unused.
        EXPECT_EQ(std::vector<std::wstring>(texts.begin() + 11, texts.end()), std::vector<std::wstring>(5))
            << table.language;
    }
}

TEST_P(ReleaseImage, DriverPackageIsOneCabinetOfThePackedEntries)
{
    const auto package = m_image.Resource(RT_RCDATA, 103, kChinese);
    ASSERT_TRUE(package);
    Cabinet cabinet;
    ASSERT_TRUE(ReadCabinet(*package, cabinet)) << "cut off after " << cabinet.names.size() << " entries";

    const CabinetHeader& header = cabinet.header;
    EXPECT_EQ(std::string(header.signature, sizeof(header.signature)), "MSCF");
    EXPECT_EQ(header.versionMajor, 1);
    EXPECT_EQ(header.versionMinor, 3);
    EXPECT_EQ(header.size, package->size());
    // A single cabinet, not part of a set.
    EXPECT_EQ(header.flags & (kCabinetPrevious | kCabinetNext), 0);
    ASSERT_EQ(header.folderCount, 1);
    EXPECT_EQ(cabinet.folders[0].compression & kCompressionMask, kCompressionMsZip);
    EXPECT_GT(cabinet.folders[0].dataBlockCount, 0);

    const std::vector<std::string> expected = PackedEntries();
    ASSERT_FALSE(expected.empty()) << "no entries in TAVRIN_PACKAGE_ENTRIES";
    EXPECT_EQ(static_cast<size_t>(header.fileCount), expected.size());
    EXPECT_EQ(cabinet.names, expected);
    for (size_t i = 0; i < cabinet.files.size(); ++i)
        EXPECT_EQ(cabinet.files[i].folder, 0) << cabinet.names[i];
    // What the install and uninstall commands run and name, whichever package is shipped.
    for (const char* needed : { "x86\\devcon.exe", "amd64\\devcon.exe", "Tavrin.inf" })
        EXPECT_TRUE(std::any_of(cabinet.names.begin(), cabinet.names.end(),
                                [needed](const std::string& name) { return _stricmp(name.c_str(), needed) == 0; }))
            << needed;
}

TEST_P(ReleaseImage, ImportsOnlyProtectedDlls)
{
    // Each is a known DLL, bound through the manifest (comctl32, gdiplus) or
    // already loaded as a dependency of a known DLL, or ntdll, which every
    // process has mapped from the start; see docs/dll-loading.md. setupapi is none of
    // these before Windows 7 and is loaded by full path instead.
    const std::set<std::string> expected = { "advapi32.dll", "comctl32.dll", "gdiplus.dll", "kernel32.dll",
                                             "msvcrt.dll",   "ntdll.dll",    "ole32.dll",   "user32.dll" };
    std::set<std::string> dlls;
    for (const auto& [dll, functions] : m_image.Imports())
        dlls.insert(dll);
    EXPECT_EQ(dlls, expected);
}

// ---- Debugging information -----------------------------------------------------

// Exported by ntdll on every Windows: the CRC-32 that GNU debug links carry.
extern "C" DWORD WINAPI RtlComputeCrc32(DWORD initial, const BYTE* data, INT length);

TEST_P(ReleaseImage, CarriesNoDebuggingInformation)
{
    for (const std::string& name : m_image.SectionNames())
        EXPECT_TRUE(name.rfind(".debug", 0) != 0 && name.rfind(".zdebug", 0) != 0) << name;
    EXPECT_EQ(m_image.SymbolCount(), 0u);
}

class ReleaseSymbols : public ReleaseImage {
protected:
    void SetUp() override
    {
        ReleaseImage::SetUp();
        const wchar_t* path = _wgetenv(GetParam().symbolsVariable);
        ASSERT_NE(path, nullptr) << "no symbols path in the environment";
        m_path = path;
        ASSERT_TRUE(m_symbols.Load(m_path)) << testing::PrintToString(m_path);
    }

    std::wstring m_path;
    PeImage m_symbols;
};

TEST_P(ReleaseSymbols, MatchByBuildId)
{
    const std::string identity = m_image.CodeView();
    // "RSDS", a GUID and the age.
    ASSERT_GE(identity.size(), 24u);
    EXPECT_EQ(identity.substr(0, 4), "RSDS");
    EXPECT_EQ(m_symbols.CodeView(), identity);
    EXPECT_EQ(m_symbols.Machine(), GetParam().machine);
}

TEST_P(ReleaseSymbols, MatchByDebugLink)
{
    // The symbols file's name, a NUL, padding to four bytes, then its CRC-32.
    const auto link = m_image.SectionData(".gnu_debuglink");
    ASSERT_TRUE(link);
    const std::string name(link->c_str());
    const std::wstring fileName = m_path.substr(m_path.find_last_of(L"\\/") + 1);
    EXPECT_EQ(name, std::string(fileName.begin(), fileName.end()));
    const size_t crcAt = Aligned(name.size() + 1);
    ASSERT_GE(link->size(), crcAt + sizeof(DWORD));
    DWORD crc = 0;
    memcpy(&crc, link->data() + crcAt, sizeof(crc));
    const std::string& bytes = m_symbols.Bytes();
    EXPECT_EQ(crc, RtlComputeCrc32(0, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<INT>(bytes.size())));
}

TEST_P(ReleaseSymbols, HoldTheLinesOfTheToolsOwnCode)
{
    const auto lines = m_symbols.SectionData(".debug_line");
    ASSERT_TRUE(lines);
    const std::string names = *lines + m_symbols.SectionData(".debug_line_str").value_or("");
    EXPECT_NE(names.find("MainDlg.cpp"), std::string::npos);
    EXPECT_GT(m_symbols.SymbolCount(), 0u);
    // Files are named relative to the checkout: the symbols, and the build id
    // hashed over them, are the same from any checkout.
    const char* checkout = getenv("TAVRIN_SOURCE_DIR");
    ASSERT_NE(checkout, nullptr);
    EXPECT_EQ(m_symbols.Bytes().find(std::string(checkout) + "/"), std::string::npos) << checkout;
}

INSTANTIATE_TEST_SUITE_P(Builds, ReleaseSymbols, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<Build>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Builds, ReleaseImage, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<Build>& info) { return std::string(info.param.name); });

// ---- Windows XP ----------------------------------------------------------------

// What the 32-bit build may import: functions that Windows XP SP3's system
// DLLs export. Anything newer (SetDllDirectoryW, SetDefaultDllDirectories,
// GetTickCount64, the *_s functions of msvcrt, ...) must stay out and be
// found at run time instead.
const std::map<std::string, std::set<std::string>> kWindowsXpFunctions = {
    { "advapi32.dll",
      { "CheckTokenMembership", "ConvertStringSecurityDescriptorToSecurityDescriptorW", "CreateWellKnownSid",
        "RegCloseKey", "RegEnumValueW", "RegOpenKeyExW", "RegQueryInfoKeyW", "RegQueryValueExW", "RegSetValueExW",
        "SystemFunction036" } },
    { "comctl32.dll", { "InitCommonControlsEx" } },
    { "gdiplus.dll",
      { "GdipAddPathRectangleI", "GdipAlloc", "GdipCloneBrush", "GdipCreateFromHDC", "GdipCreatePath",
        "GdipCreatePen1", "GdipCreateSolidFill", "GdipDeleteBrush", "GdipDeleteGraphics", "GdipDeletePath",
        "GdipDeletePen", "GdipDrawPath", "GdipFillPath", "GdipFillRectangleI", "GdipFree", "GdipResetWorldTransform",
        "GdipRotateWorldTransform", "GdipTranslateWorldTransform", "GdiplusShutdown", "GdiplusStartup" } },
    { "kernel32.dll",
      { "CreateFileW", "CreateProcessW", "FindResourceW", "GetACP", "GetExitCodeProcess", "GetExitCodeThread",
        "GetFullPathNameW", "GetNativeSystemInfo", "GetShortPathNameW", "GetSystemDirectoryW",
        "GetSystemWindowsDirectoryW", "GetTempFileNameW", "GetTempPathW", "LoadLibraryExW", "LoadResource",
        "LocalFree", "LockResource", "OutputDebugStringW", "SizeofResource", "VerifyVersionInfoW", "WriteFile",
        "lstrcpynW", "FreeEnvironmentStringsW", "GetEnvironmentStringsW", "lstrcmpiW",
        "CloseHandle",         "CreateSemaphoreW",   "CreateThread",        "DeleteCriticalSection",
        "DuplicateHandle",     "EnterCriticalSection", "FreeLibrary",       "GetCurrentProcess",
        "GetCurrentThreadId",  "GetLastError",       "GetModuleFileNameW",  "GetModuleHandleA",
        "GetModuleHandleW",    "GetProcAddress",     "GetStartupInfoW",     "InitializeCriticalSection",
        "IsDBCSLeadByteEx",    "LeaveCriticalSection", "LoadLibraryA",      "LoadLibraryW",
        "MultiByteToWideChar", "ReleaseSemaphore",   "ResumeThread",        "SetLastError",
        "SetThreadPriority",   "SetUnhandledExceptionFilter", "Sleep",      "TlsAlloc",
        "TlsFree",             "TlsGetValue",        "TlsSetValue",         "VirtualProtect",
        "VirtualQuery",        "WaitForSingleObject", "WideCharToMultiByte", "lstrlenW" } },
    { "msvcrt.dll",
      { "__mb_cur_max", "__p__commode", "__p__fmode", "__p__wcmdln", "__set_app_type", "__setusermatherr",
        "__wgetmainargs", "__winitenv", "_amsg_exit", "_cexit", "_close", "_errno", "_initterm", "_iob", "_onexit",
        "_read", "_vscwprintf", "_vsnwprintf", "abort", "atoi", "calloc", "exit", "fprintf", "fputc", "fputs",
        "fputwc", "free", "fwprintf", "fwrite", "localeconv", "malloc", "memchr", "memcmp", "memcpy", "memmove",
        "memset", "realloc", "setlocale", "signal", "strchr", "strcmp", "strerror", "strlen", "strncmp", "vfprintf",
        "towupper", "wcscat", "wcschr", "wcscmp", "wcslen", "wcsncmp", "wcsrchr", "wcsspn", "wcsstr" } },
    { "ntdll.dll",
      { "NtCreateFile", "NtOpenFile", "NtQueryDirectoryFile", "NtQueryInformationFile", "NtQueryVolumeInformationFile",
        "NtSetInformationFile", "RtlNtStatusToDosError", "VerSetConditionMask" } },
    { "ole32.dll", { "OleInitialize", "OleUninitialize" } },
    { "user32.dll",
      { "BeginPaint",       "CreateDialogParamW", "CreateWindowExW",   "DefWindowProcW",    "DestroyIcon",
        "DestroyWindow",    "DialogBoxParamW",    "DispatchMessageW",  "EndDialog",         "EndPaint",
        "EqualRect",        "GetActiveWindow",    "GetClassInfoExW",   "GetDlgItem",        "GetMessageW",
        "GetMonitorInfoW",  "GetParent",          "GetWindow",         "GetWindowLongW",    "GetWindowRect",
        "GetWindowTextLengthW", "GetWindowTextW", "InflateRect",       "InvalidateRect",    "IsIconic",          "IsWindow",          "IsWindowVisible",
        "LoadCursorW",      "LoadIconW",          "LoadStringW",       "MessageBoxW",       "MonitorFromWindow",
        "PostMessageW", "PostThreadMessageW", "RedrawWindow",     "RegisterClassExW",  "SendMessageW",      "SetCursor",
        "SetWindowLongW",   "SetWindowPos",       "TranslateMessage" } },
};

TEST(ReleaseImageX86, ImportsNothingWindowsXpLacks)
{
    PeImage image;
    const wchar_t* path = _wgetenv(L"TAVRIN_SETUP_X86");
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(image.Load(path));
    for (const auto& [dll, functions] : image.Imports()) {
        const auto known = kWindowsXpFunctions.find(dll);
        ASSERT_NE(known, kWindowsXpFunctions.end()) << dll;
        for (const std::string& function : functions)
            EXPECT_EQ(known->second.count(function), 1u) << dll << "!" << function;
    }
}

}  // namespace
