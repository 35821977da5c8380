// The main dialog in-process: what it shows when it opens, and how the
// keyboard and the close box end it.
#include "app/MainDlg.h"
#include "res/resource.h"

#include "framework/WinApp.h"
#include "support/DialogDriver.h"
#include "support/TestLanguage.h"
#include "support/TestPortDevices.h"
#include "support/WindowInfo.h"

#include <gtest/gtest.h>

#include <devguid.h>
#include <setupapi.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(MainDlg, ShowsBothHeadingsOverAnEmptyListWithFullRowSelectionOnly)
{
    TestPortDevices noTestDevices;
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    CListCtrl& list = dlg.PortList();
    ASSERT_NE(list.m_hWnd, nullptr);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_FULLROWSELECT));

    HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    const wchar_t* expected[] = { InTestLanguage(L"Name", L"名称"), InTestLanguage(L"Type", L"类型") };
    for (int column = 0; column < 2; ++column) {
        wchar_t text[32] = {};
        LVCOLUMNW lvc = {};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        lvc.pszText = text;
        lvc.cchTextMax = 32;
        ASSERT_TRUE(list.SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc)));
        EXPECT_STREQ(text, expected[column]);
        EXPECT_EQ(lvc.cx, 100);
        EXPECT_EQ(lvc.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
}

TEST(MainDlg, ListsThePortsPresentWhenItOpens)
{
    TestPortDevices devices;
    ASSERT_FALSE(devices.Add(L"COM5").empty());
    ASSERT_FALSE(devices.Add(nullptr).empty());
    ASSERT_FALSE(devices.Add(L"LPT2").empty());

    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(Rows(dlg.PortList()), (std::vector<ListRow>{ { L"COM5", L"USB" }, { L"LPT2", L"USB" } }));
}

TEST(MainDlg, SetsThePortsClassIconOrElseTheApplicationIcon)
{
    // Whether this system has the class icon at all: Wine 8 has no
    // SetupDiLoadClassIcon (FALSE, error 120), so only the fallback runs there.
    HICON classIcon = nullptr;
    INT miniIcon = 0;
    const bool classIconLoads = ::SetupDiLoadClassIcon(&GUID_DEVCLASS_PORTS, &classIcon, &miniIcon) != FALSE;
    if (classIconLoads)
        ::DestroyIcon(classIcon);

    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    const HICON big = reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_BIG));
    const HICON small = reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_SMALL));
    if (classIconLoads) {
        // Only the large icon is set; the system derives the small one.
        EXPECT_NE(dlg.ClassIcon(), nullptr);
        EXPECT_EQ(big, dlg.ClassIcon());
        EXPECT_EQ(small, nullptr);
    } else {
        const HICON appIcon = AfxGetApp()->LoadIcon(IDI_APP);
        ASSERT_NE(appIcon, nullptr);
        EXPECT_EQ(dlg.ClassIcon(), nullptr);
        EXPECT_EQ(big, appIcon);
        EXPECT_EQ(small, appIcon);
    }
}

// Keeps the rows the list had when the window went away.
class ObservedMainDlg : public CMainDlg {
public:
    std::vector<ListRow> m_rowsAtTeardown;

protected:
    void OnDestroy()
    {
        m_rowsAtTeardown = Rows(PortList());
        CMainDlg::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ObservedMainDlg, CMainDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void PostKey(HWND target, WPARAM key)
{
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Moves the focus as the dialog manager does for the Tab key.
void PostFocus(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id)), TRUE);
}

struct EndCase {
    const char* what;
    std::function<void(HWND dialog)> user;
    INT_PTR result;
};

TEST(MainDlg, EscapeCloseBoxAndEnterAwayFromTheButtonsEndIt)
{
    const EndCase cases[] = {
        { "Escape", [](HWND dialog) { PostKey(dialog, VK_ESCAPE); }, IDCANCEL },
        { "close box", [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL },
        { "Enter on the list",
          [](HWND dialog) {
              PostFocus(dialog, IDC_PORT_LIST);
              PostKey(::GetDlgItem(dialog, IDC_PORT_LIST), VK_RETURN);
          },
          IDOK },
    };
    for (const EndCase& c : cases) {
        ObservedMainDlg dlg;
        DialogDriver driver({ c.user });
        EXPECT_EQ(dlg.DoModal(), c.result) << c.what;
    }
}

TEST(MainDlg, EnterOnAFocusedButtonPressesThatButton)
{
    TestPortDevices devices;
    ObservedMainDlg dlg;
    {
        DialogDriver driver({ [&devices](HWND dialog) {
            // A port that came after the list was filled: only a refresh shows it.
            devices.Add(L"COM6");
            PostFocus(dialog, IDC_REFRESH);
            PostKey(::GetDlgItem(dialog, IDC_REFRESH), VK_RETURN);
            PostKey(::GetDlgItem(dialog, IDC_REFRESH), VK_ESCAPE);
        } });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << "Enter ended the dialog";
    }
    EXPECT_EQ(dlg.m_rowsAtTeardown, (std::vector<ListRow>{ { L"COM6", L"USB" } }));
}

}
