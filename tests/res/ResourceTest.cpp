// The resources as the platform's lookup hands them to the running program,
// in the language ctest runs it under (TAVRIN_TEST_LANGUAGE).
#include "res/resource.h"

#include "framework/Dialog.h"
#include "framework/ResourceString.h"
#include "framework/WinApp.h"
#include "support/TestLanguage.h"
#include "support/WindowInfo.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <set>
#include <string>
#include <vector>

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// ---- Inventory -----------------------------------------------------------------

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::set<LANGID>*>(param)->insert(language);
    return TRUE;
}

std::set<LANGID> LanguagesOf(LPCWSTR type, UINT id)
{
    std::set<LANGID> languages;
    ::EnumResourceLanguagesW(::GetModuleHandleW(nullptr), type, MAKEINTRESOURCEW(id), &CollectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

TEST(Resources, InventoryHasEachResourceInItsLanguages)
{
    struct Entry {
        LPCWSTR type;
        UINT id;
        std::set<LANGID> languages;
    };
    const UINT stringBlock = IDS_WARNING / 16 + 1;  // the block that holds 40000-40010
    const Entry entries[] = {
        { RT_DIALOG, IDD_MAIN_DIALOG, { kEnglish, kChinese } },
        { RT_DIALOG, IDD_PORT_TYPE, { kEnglish, kChinese } },
        { RT_DIALOG, IDD_WAIT_DIALOG, { kChinese } },
        { RT_DIALOG, IDD_CHG_PORT, { kEnglish, kChinese } },
        { RT_STRING, stringBlock, { kEnglish, kChinese } },
        { RT_GROUP_ICON, IDI_APP, { kChinese } },
        { RT_VERSION, 1, { kEnglish } },
        { RT_MANIFEST, 1, { MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL) } },
    };
    for (const Entry& entry : entries)
        EXPECT_EQ(LanguagesOf(entry.type, entry.id), entry.languages)
            << "type " << reinterpret_cast<ULONG_PTR>(entry.type) << " id " << entry.id;
    EXPECT_EQ(IDS_COLUMN_TYPE / 16 + 1, stringBlock);
}

// ---- Strings -------------------------------------------------------------------

TEST(Resources, StringTableIsInTheUserInterfaceLanguage)
{
    struct Entry {
        UINT id;
        const wchar_t* english;
        const wchar_t* chinese;
    };
    const Entry entries[] = {
        { 40000, L"Warning", L"警告" },
        { 40001, L"Error", L"错误" },
        { 40002, L"The port exists!", L"端口已经存在！" },
        { 40003, L"There is no any port!", L"没有任何端口！" },
        { 40004, L"Please select one port first!", L"请先选择一个端口！" },
        { 40005, L"Fail to install the port!", L"端口安装失败！" },
        { 40006, L"Fail to uninstall the port!", L"端口卸载失败！" },
        { 40007, L"Name", L"名称" },
        { 40008, L"Port installation is successful!", L"端口安装成功！" },
        { 40009, L"Port uninstall is successful!", L"端口卸载成功！" },
        { 40010, L"Type", L"类型" },
    };
    for (const Entry& entry : entries)
        EXPECT_EQ(LoadResourceString(entry.id), InTestLanguage(entry.english, entry.chinese)) << entry.id;
}

// ---- Dialogs -------------------------------------------------------------------

struct ControlSpec {
    int id;
    const wchar_t* className;
    const wchar_t* english;
    const wchar_t* chinese;
    RECT units;  // x, y, width, height in dialog units (English)
    DWORD style;
    int chineseWidth;    // 0: as in English
    DWORD chineseStyle;  // 0: as in English
};

struct DialogSpec {
    UINT id;
    const wchar_t* english;
    const wchar_t* chinese;
    DWORD style;
    DWORD exStyle;  // bits that must be set
    int width;
    int height;
    int pointSize;
    std::vector<ControlSpec> controls;
};

void PrintTo(const DialogSpec& spec, std::ostream* os)
{
    *os << "dialog " << spec.id;
}

const DWORD kWindowStyle = 0x80C800C8;

const DialogSpec kDialogs[] = {
    { IDD_MAIN_DIALOG, L"Tavrin Manager", L"Tavrin管理器", kWindowStyle, 0, 234, 142, 10,
      {
          { -1, L"Static", L"Installed Tavrins:", L"已安装的Tavrin：", { 7, 7, 80, 8 }, 0x50020000, 0, 0x5000000C },
          { 1001, L"Button", L"Refresh", L"刷新", { 172, 22, 50, 14 }, 0x50010000, 0, 0 },
          { 1002, L"Button", L"Install", L"安装", { 172, 42, 50, 14 }, 0x50010000, 0, 0 },
          { 1003, L"Button", L"Uninstall", L"卸载", { 172, 62, 50, 14 }, 0x50010000, 0, 0 },
          { 1000, L"SysListView32", L"", L"", { 7, 22, 150, 98 }, 0x50810809, 0, 0 },
          { 1008, L"Button", L"Chg. Port No.", L"更换端口号", { 172, 82, 50, 14 }, 0x50010000, 0, 0 },
      } },
    { IDD_PORT_TYPE, L"Select Port Type", L"选择端口类型", kWindowStyle, 0, 188, 98, 9,
      {
          { IDOK, L"Button", L"Ok", L"确定", { 34, 77, 50, 14 }, 0x50010001, 0, 0 },
          { IDCANCEL, L"Button", L"Cancel", L"取消", { 106, 77, 50, 14 }, 0x50010000, 0, 0 },
          { 1005, L"Button", L"Virtual Serial Port", L"虚拟串口", { 34, 7, 71, 10 }, 0x50020009, 48, 0 },
          { 1006, L"Button", L"Virtual Parallel Port", L"虚拟并口", { 106, 7, 76, 10 }, 0x50000009, 48, 0 },
      } },
    { IDD_WAIT_DIALOG, L"", L"", 0x80800048, WS_EX_TOOLWINDOW, 160, 80, 8,
      {
          { 1007, L"msctls_progress32", L"", L"", { 7, 32, 146, 14 }, 0x50800000, 0, 0 },
      } },
    { IDD_CHG_PORT, L"Change Port Number", L"更换端口号", kWindowStyle, 0, 186, 90, 9,
      {
          { IDOK, L"Button", L"Ok", L"确定", { 34, 69, 50, 14 }, 0x50010001, 0, 0 },
          { IDCANCEL, L"Button", L"Cancel", L"取消", { 102, 69, 50, 14 }, 0x50010000, 0, 0 },
          { -1, L"Static", L"Port Name:", L"端口名：", { 34, 22, 36, 8 }, 0x5000000B, 28, 0 },
          { 1009, L"ComboBox", L"", L"", { 74, 20, 48, 100 }, 0x50210003, 0, 0 },
      } },
};

// The parts of an extended dialog template that the platform does not
// change or that it changes on creation: styles, positions, ids, font.
struct TemplateItem {
    DWORD exStyle;
    DWORD style;
    RECT units;  // x, y, width, height
    int id;
};

struct ParsedTemplate {
    WORD version = 0;
    WORD signature = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    RECT units = {};
    WORD pointSize = 0;
    std::wstring typeface;
    std::vector<TemplateItem> items;
};

// Skips a name-or-ordinal field or a string.
const WORD* SkipNameOrOrdinal(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++) {
    }
    return p;
}

const WORD* AlignToDword(const WORD* p)
{
    return reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~static_cast<ULONG_PTR>(3));
}

DWORD ReadDword(const WORD*& p)
{
    DWORD value = static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 16);
    p += 2;
    return value;
}

RECT ReadUnits(const WORD*& p)
{
    RECT units = { static_cast<short>(p[0]), static_cast<short>(p[1]), static_cast<short>(p[2]),
                   static_cast<short>(p[3]) };
    p += 4;
    return units;
}

// The template of the dialog in the language the lookup picks.
ParsedTemplate ParseTemplate(UINT id)
{
    ParsedTemplate parsed;
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    const WORD* p = found ? static_cast<const WORD*>(::LockResource(::LoadResource(module, found))) : nullptr;
    if (!p)
        return parsed;
    parsed.version = *p++;
    parsed.signature = *p++;
    if (parsed.version != 1 || parsed.signature != 0xFFFF)
        return parsed;
    ReadDword(p);  // help id
    parsed.exStyle = ReadDword(p);
    parsed.style = ReadDword(p);
    const WORD count = *p++;
    parsed.units = ReadUnits(p);
    p = SkipNameOrOrdinal(p);  // menu
    p = SkipNameOrOrdinal(p);  // class
    p = SkipNameOrOrdinal(p);  // title
    if (parsed.style & DS_SETFONT) {
        parsed.pointSize = *p++;
        p += 2;  // weight, italic and character set
        parsed.typeface = reinterpret_cast<const wchar_t*>(p);
        p = SkipNameOrOrdinal(p);
    }
    for (WORD i = 0; i < count; ++i) {
        p = AlignToDword(p);
        TemplateItem item;
        ReadDword(p);  // help id
        item.exStyle = ReadDword(p);
        item.style = ReadDword(p);
        item.units = ReadUnits(p);
        item.id = static_cast<int>(ReadDword(p));
        p = SkipNameOrOrdinal(p);  // class
        p = SkipNameOrOrdinal(p);  // text
        const WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        parsed.items.push_back(item);
    }
    return parsed;
}

class DialogTemplateTest : public ::testing::TestWithParam<DialogSpec> {};

TEST_P(DialogTemplateTest, IsAnExtendedTemplateWithTheseStylesPositionsAndFont)
{
    const DialogSpec& spec = GetParam();
    const bool chinese = TestLanguage() == kChinese;
    const ParsedTemplate parsed = ParseTemplate(spec.id);
    ASSERT_EQ(parsed.version, 1);
    ASSERT_EQ(parsed.signature, 0xFFFF);
    EXPECT_EQ(parsed.style, spec.style);
    EXPECT_EQ(parsed.exStyle, spec.exStyle);
    const RECT size = { 0, 0, spec.width, spec.height };
    EXPECT_TRUE(::EqualRect(&parsed.units, &size));
    EXPECT_EQ(parsed.pointSize, spec.pointSize);
    EXPECT_EQ(parsed.typeface, L"MS Shell Dlg");
    ASSERT_EQ(parsed.items.size(), spec.controls.size());
    for (size_t i = 0; i < spec.controls.size(); ++i) {
        const ControlSpec& c = spec.controls[i];
        const TemplateItem& item = parsed.items[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " (id " << c.id << ")");
        EXPECT_EQ(item.id, c.id);
        EXPECT_EQ(item.style, chinese && c.chineseStyle ? c.chineseStyle : c.style);
        EXPECT_EQ(item.exStyle, 0u);
        RECT units = c.units;
        if (chinese && c.chineseWidth)
            units.right = c.chineseWidth;
        EXPECT_TRUE(::EqualRect(&item.units, &units));
    }
}

TEST_P(DialogTemplateTest, CreatesItsWindowAndControlsInTheUserInterfaceLanguage)
{
    const DialogSpec& spec = GetParam();
    const bool chinese = TestLanguage() == kChinese;
    CDialog dialog(spec.id);
    ASSERT_TRUE(dialog.Create());
    HWND hWnd = dialog.m_hWnd;

    EXPECT_EQ(WindowText(hWnd), InTestLanguage(spec.english, spec.chinese));
    // The platform gives every dialog the 3-D look and, as a top-level
    // window, clips its siblings.
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE)), spec.style | DS_3DLOOK | WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_EXSTYLE)) & spec.exStyle, spec.exStyle);

    LOGFONTW font = {};
    ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(dialog.SendMessage(WM_GETFONT)), sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(spec.pointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);

    size_t index = 0;
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, spec.controls.size()) << "more controls than expected";
        const ControlSpec& c = spec.controls[index];
        SCOPED_TRACE(testing::Message() << "control " << index << " (id " << c.id << ")");
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        EXPECT_EQ(WindowClass(child), c.className);
        EXPECT_EQ(WindowText(child), InTestLanguage(c.english, c.chinese));
        DWORD style = chinese && c.chineseStyle ? c.chineseStyle : c.style;
        // The dialog manager turns a control's border into a sunken edge of
        // the extended style (which a themed control may draw its own way),
        // and a combo box hands its scroll bar to its drop-down list.
        style &= ~WS_BORDER;
        if (c.className == std::wstring(L"ComboBox"))
            style &= ~WS_VSCROLL;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE)), style);
    }
    EXPECT_EQ(index, spec.controls.size());
    dialog.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTemplateTest, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogSpec>& info) {
                             return "Dialog" + std::to_string(info.param.id);
                         });

// ---- Icon ----------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    SIZE size = { 0, 0 };
    if (!::GetIconInfo(icon, &info))
        return size;
    BITMAP bitmap = {};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    size.cx = bitmap.bmWidth;
    size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return size;
}

TEST(Resources, ApplicationIconHas256Colour32And16PixelImages)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const GroupIconHeader* group = static_cast<const GroupIconHeader*>(::LockResource(::LoadResource(module, found)));
    ASSERT_NE(group, nullptr);
    std::set<std::vector<int>> images;
    for (WORD i = 0; i < group->count; ++i) {
        const GroupIconEntry& e = group->entries[i];
        images.insert({ e.width, e.height, e.colorCount, e.bitCount });
    }
    // 256 colours: 8 bits per pixel, a colour count of 0.
    EXPECT_EQ(images, (std::set<std::vector<int>>{ { 32, 32, 0, 8 }, { 16, 16, 0, 8 } }));

    // What the main window gets from the application object, and the small image.
    HICON big = AfxGetApp()->LoadIcon(IDI_APP);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(IconSize(big).cx, 32);
    EXPECT_EQ(IconSize(big).cy, 32);
    HICON small = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(IconSize(small).cx, 16);
    EXPECT_EQ(IconSize(small).cy, 16);
}

// ---- Version block and manifest ------------------------------------------------

TEST(Resources, VersionBlockCarriesEveryValue)
{
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(4, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1206, 2016));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, static_cast<DWORD>(VS_FF_DEBUG | VS_FF_PRIVATEBUILD));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                 &length));
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    struct Value {
        const wchar_t* name;
        const wchar_t* text;
    };
    const Value values[] = {
        { L"CompanyName", L"" },
        { L"FileDescription", L"Tavrin Installer" },
        { L"FileVersion", L"2.4.2016.1206 built by: WinDDK" },
        { L"InternalName", L"setup" },
        { L"LegalCopyright", L"" },
        { L"OriginalFilename", L"setup.exe" },
        { L"ProductName", L"Tavrin" },
        { L"ProductVersion", L"1.2.1.0" },
    };
    for (const Value& value : values) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + value.name;
        wchar_t* text = nullptr;
        length = 0;
        ASSERT_TRUE(::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << testing::PrintToString(std::wstring(value.name));
        EXPECT_EQ(std::wstring(text, length ? length - 1 : 0), value.text)
            << testing::PrintToString(std::wstring(value.name));
    }
}

TEST(Resources, ManifestAsksForAdministratorAndCommonControls6)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    const std::string manifest(data, ::SizeofResource(module, found));
    for (const char* piece : { "level=\"requireAdministrator\"", "uiAccess=\"false\"",
                               "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                               "processorArchitecture=\"*\"", "publicKeyToken=\"6595b64144ccf1df\"",
                               "language=\"*\"" })
        EXPECT_NE(manifest.find(piece), std::string::npos) << piece;

    // The platform honoured it: the common controls in use are the side-by-side
    // assembly of version 6.
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(::GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH), 0u);
    EXPECT_NE(::StrStrIW(path, L"common-controls_6595b64144ccf1df_6.0."), nullptr) << testing::PrintToString(std::wstring(path));
}

}
