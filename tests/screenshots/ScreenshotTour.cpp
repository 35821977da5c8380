// Every dialog of the real setup.exe (TAVRIN_SETUP), driven from outside as in
// the end-to-end tests, with a picture of each (ScreenCamera) in the language
// it runs under. Run by scripts/screenshots.sh, not by ctest.
#include "ScreenCamera.h"
#include "SuspendedChild.h"

#include "install/InstallTestSupport.h"
#include "res/resource.h"

#include "framework/ResourceString.h"

#include "support/AppDriver.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/TestLanguage.h"
#include "support/TestPortDevices.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
const DWORD kTimeoutMs = 30000;

// Polls what a window of the program shows until it has the wanted value.
template <typename Read, typename Value>
bool WaitUntil(Read read, const Value& wanted)
{
    const DWORD start = ::GetTickCount();
    while (read() != wanted) {
        if (::GetTickCount() - start >= kTimeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

class ScreenshotTour : public testing::Test {
protected:
    void SetUp() override { RemovePortDevices(); }
    void TearDown() override { RemovePortDevices(); }

    // what-en or what-zh, after the language the tour runs under.
    static std::string Named(const char* what)
    {
        const bool chinese = TestLanguage() == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
        return std::string(what) + (chinese ? "-zh" : "-en");
    }

    // Waits for the next message box, expects its text, takes its picture and presses OK.
    void Box(UINT stringId, const char* what)
    {
        const AppDriver::MessageBoxWindow box = m_app.WaitForMessageBox();
        ASSERT_NE(box.window, nullptr) << "no message box " << what;
        EXPECT_EQ(box.text, LoadResourceString(stringId)) << what;
        EXPECT_TRUE(ScreenCamera::Take(Named(what), { box.window })) << what;
        ASSERT_TRUE(m_app.CloseMessageBox(box)) << what;
    }

    // The row of the first port whose name starts with prefix; -1 when none.
    int RowOf(const std::wstring& prefix) const
    {
        for (int row = 0; row < AppDriver::ItemCount(m_list); ++row)
            if (m_app.ItemText(m_list, row, 0).compare(0, prefix.size(), prefix) == 0)
                return row;
        return -1;
    }

    ScratchTempFolder m_temp;  // inherited by setup.exe
    AppDriver m_app{ EnvironmentValue(L"TAVRIN_SETUP"), kTimeoutMs };
    HWND m_main = m_app.WaitForDialog(IDC_PORT_LIST);
    HWND m_list = ::GetDlgItem(m_main, IDC_PORT_LIST);
};

TEST_F(ScreenshotTour, ShowsEveryDialog)
{
    ASSERT_NE(TestLanguage(), 0) << "TAVRIN_TEST_LANGUAGE names no language";
    ASSERT_TRUE(m_app.Started()) << "cannot start TAVRIN_SETUP";
    ASSERT_NE(m_main, nullptr);
    EXPECT_EQ(AppDriver::Caption(m_main), InTestLanguage(L"Tavrin Manager", L"Tavrin管理器"));
    // The pointer out of the way, in the corner: an open list would mark the row under it.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);

    // Install: the port type, then the progress while devcon runs, held there.
    AppDriver::Click(m_main, IDC_INSTALL);
    HWND portType = m_app.WaitForDialog(IDC_SERIAL_PORT);
    ASSERT_NE(portType, nullptr);
    EXPECT_TRUE(ScreenCamera::Take(Named("port-type"), { portType }));
    AppDriver::Click(portType, IDOK);
    {
        const SuspendedChild devcon(m_app.ProcessId(), L"devcon.exe", kTimeoutMs);
        ASSERT_TRUE(devcon.Held()) << "devcon did not start, or ended before it could be held";
        HWND progress = m_app.WaitForDialog(IDC_PROGRESS);
        ASSERT_NE(progress, nullptr);
        HWND bar = ::GetDlgItem(progress, IDC_PROGRESS);
        // Posted once the package is out, right before devcon starts.
        ASSERT_TRUE(WaitUntil([bar] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0); }, 50));
        EXPECT_TRUE(ScreenCamera::Take(Named("progress"), { m_main, progress }));
    }
    ASSERT_NO_FATAL_FAILURE(Box(IDS_INSTALL_OK, "msgbox-install-ok"));
    AppDriver::Click(m_main, IDC_INSTALL);
    ASSERT_NO_FATAL_FAILURE(Box(IDS_PORT_EXISTS, "msgbox-port-exists"));
    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Box(IDS_SELECT_PORT, "msgbox-select-port"));

    // A second port, of another installation, so that the list shows two.
    TestPortDevices otherPorts;
    otherPorts.Add(L"LPT1");
    AppDriver::Click(m_main, IDC_REFRESH);
    ASSERT_TRUE(WaitUntil([this] { return AppDriver::ItemCount(m_list); }, 2));
    const int serialRow = RowOf(L"COM");
    ASSERT_NE(serialRow, -1);
    ASSERT_TRUE(m_app.SelectItem(m_list, serialRow));
    EXPECT_TRUE(ScreenCamera::Take(Named("main"), { m_main }));

    // Chg. Port No., then with its list of free names open; left with Cancel.
    AppDriver::Click(m_main, IDC_CHG_PORT);
    HWND chgPort = m_app.WaitForDialog(IDC_PORT_NAME);
    ASSERT_NE(chgPort, nullptr);
    EXPECT_TRUE(ScreenCamera::Take(Named("chg-port"), { chgPort }));
    HWND names = ::GetDlgItem(chgPort, IDC_PORT_NAME);
    ::SendMessageW(names, CB_SHOWDROPDOWN, TRUE, 0);
    HWND dropDown = m_app.FindWindowOfClass(L"ComboLBox");
    ASSERT_NE(dropDown, nullptr);
    EXPECT_TRUE(::IsWindowVisible(dropDown));
    EXPECT_TRUE(ScreenCamera::Take(Named("chg-port-list"), { chgPort, dropDown }));
    ::SendMessageW(names, CB_SHOWDROPDOWN, FALSE, 0);
    AppDriver::Click(chgPort, IDCANCEL);
    ASSERT_TRUE(WaitUntil([chgPort] { return ::IsWindow(chgPort) != FALSE; }, false));

    // The busy indicator, which the program keeps hidden: shown from outside
    // and ticked as a timer would, to phase 8 (drawn as phase 0) and 9 (as
    // phase 1); under Wine it reaches the screen only once a tick has placed
    // it. It holds no text, so one pair of pictures, four times enlarged,
    // serves both languages.
    if (TestLanguage() == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) {
        HWND busy = m_app.FindWindowOfClass(L"TavrinWnd");
        ASSERT_NE(busy, nullptr);
        EXPECT_FALSE(::IsWindowVisible(busy));
        ::ShowWindow(busy, SW_SHOWNOACTIVATE);
        for (int tick = 0; tick < 8; ++tick)
            ::SendMessageW(busy, WM_TIMER, 1, 0);
        EXPECT_TRUE(ScreenCamera::Take("busy-phase0", { busy }, 4));
        ::SendMessageW(busy, WM_TIMER, 1, 0);
        EXPECT_TRUE(ScreenCamera::Take("busy-phase1", { busy }, 4));
        ::ShowWindow(busy, SW_HIDE);
    }

    ASSERT_TRUE(m_app.SelectItem(m_list, serialRow));
    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Box(IDS_UNINSTALL_OK, "msgbox-uninstall-ok"));
    EXPECT_EQ(m_app.Close(m_main), 0u);
}
}  // namespace
