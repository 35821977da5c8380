#include "framework/Dialog.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

HCURSOR Hourglass()
{
    return ::LoadCursorW(nullptr, IDC_WAIT);
}

TEST(WaitCursor, NestedScopesKeepTheHourglassUntilTheOutermostEnds)
{
    CWinApp* app = AfxGetApp();
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(app->WaitCursorCount(), 1);
        EXPECT_EQ(::GetCursor(), Hourglass());
        {
            CWaitCursor inner;
            EXPECT_EQ(app->WaitCursorCount(), 2);
            EXPECT_EQ(::GetCursor(), Hourglass());
        }
        EXPECT_EQ(app->WaitCursorCount(), 1);
        EXPECT_EQ(::GetCursor(), Hourglass());
    }
    EXPECT_EQ(app->WaitCursorCount(), 0);
    EXPECT_EQ(::GetCursor(), arrow);

    // An end without a begin leaves the count alone.
    app->EndWaitCursor();
    EXPECT_EQ(app->WaitCursorCount(), 0);
}

TEST(WaitCursor, DialogsKeepTheHourglassWhileItLasts)
{
    CDialog dialog(IDD_MAIN_DIALOG);
    ASSERT_TRUE(dialog.Create());
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    {
        CWaitCursor wait;
        ::SetCursor(nullptr);
        EXPECT_TRUE(dialog.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog.m_hWnd), overClient));
        EXPECT_EQ(::GetCursor(), Hourglass());
    }
    ::SetCursor(nullptr);
    dialog.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog.m_hWnd), overClient);
    EXPECT_NE(::GetCursor(), Hourglass());
}

}
