#include "app/MainDlg.h"
#include "res/resource.h"

#include "support/DialogDriver.h"

#include <gtest/gtest.h>

TEST(MainDlg, ShowsBothHeadingsAndFullRowSelection)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    CListCtrl& list = dlg.PortList();
    ASSERT_NE(list.m_hWnd, nullptr);
    EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_FULLROWSELECT));

    HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    const wchar_t* expected[] = { L"Name", L"Type" };
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
    dlg.DestroyWindow();
}

TEST(MainDlg, RunsModallyUntilCancelled)
{
    CMainDlg dlg;
    DialogDriver driver({ DialogDriver::ExpectControlThenClick(IDC_PORT_LIST, IDCANCEL) });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
