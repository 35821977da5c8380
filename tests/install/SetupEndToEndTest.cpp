// The real setup.exe (TAVRIN_SETUP) in a process of its own, driven through
// its windows as a user would.
#include "InstallTestSupport.h"

#include "res/resource.h"

#include "framework/ResourceString.h"

#include "support/AppDriver.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
class SetupEndToEndTest : public testing::Test {
protected:
    void SetUp() override { RemovePortDevices(); }
    void TearDown() override { RemovePortDevices(); }

    // Waits for the next message box, expects its text, and presses OK.
    void Expect(UINT stringId, const char* when) { Expect(LoadResourceString(stringId), when); }
    void Expect(const std::wstring& text, const char* when)
    {
        const AppDriver::MessageBoxWindow box = m_app.WaitForMessageBox();
        ASSERT_NE(box.window, nullptr) << "no message box " << when;
        EXPECT_EQ(box.caption, L"setup") << when;
        EXPECT_EQ(box.text, text) << when;
        m_rowsAtBox = Rows();
        ASSERT_TRUE(m_app.CloseMessageBox(box)) << when;
    }

    void Install(int portButton)
    {
        AppDriver::Click(m_main, IDC_INSTALL);
        HWND portType = m_app.WaitForDialog(IDC_SERIAL_PORT);
        ASSERT_NE(portType, nullptr);
        EXPECT_TRUE(AppDriver::IsChecked(portType, IDC_SERIAL_PORT));
        if (portButton != IDC_SERIAL_PORT)
            AppDriver::Click(portType, portButton);
        AppDriver::Click(portType, IDOK);
    }

    ListRows Rows() const
    {
        ListRows rows;
        for (int row = 0; row < AppDriver::ItemCount(m_list); ++row)
            rows.emplace_back(m_app.ItemText(m_list, row, 0), m_app.ItemText(m_list, row, 1));
        return rows;
    }

    ScratchTempFolder m_temp;  // inherited by setup.exe
    AppDriver m_app{ EnvironmentValue(L"TAVRIN_SETUP") };
    HWND m_main = m_app.WaitForDialog(IDC_PORT_LIST);
    HWND m_list = ::GetDlgItem(m_main, IDC_PORT_LIST);
    ListRows m_rowsAtBox;
};

TEST_F(SetupEndToEndTest, InstallsListsAndUninstallsPorts)
{
    ASSERT_TRUE(m_app.Started()) << "cannot start TAVRIN_SETUP";
    ASSERT_NE(m_main, nullptr);
    EXPECT_EQ(Rows(), ListRows());

    ASSERT_NO_FATAL_FAILURE(Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_rowsAtBox.size(), 1u);
    EXPECT_EQ(m_rowsAtBox[0].first.substr(0, 3), L"COM");
    EXPECT_EQ(m_rowsAtBox[0].second, L"USB");

    AppDriver::Click(m_main, IDC_INSTALL);
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_PORT_EXISTS, "installing a second port"));

    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_SELECT_PORT, "uninstalling without a selection"));
    EXPECT_EQ(m_rowsAtBox.size(), 1u);

    ASSERT_TRUE(m_app.SelectItem(m_list, 0));
    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_UNINSTALL_OK, "uninstalling the serial port"));
    EXPECT_EQ(m_rowsAtBox, ListRows());

    ASSERT_NO_FATAL_FAILURE(Install(IDC_PARALLEL_PORT));
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_INSTALL_OK, "after installing a parallel port"));
    ASSERT_EQ(m_rowsAtBox.size(), 1u);
    EXPECT_EQ(m_rowsAtBox[0].first.substr(0, 3), L"LPT");

    ASSERT_TRUE(m_app.SelectItem(m_list, 0));
    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_UNINSTALL_OK, "uninstalling the parallel port"));
    EXPECT_EQ(Rows(), ListRows());

    EXPECT_EQ(m_app.Close(m_main), 0u);
    // No work folder and no temporary cabinet left behind.
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(SetupEndToEndTest, RenamesAnInstalledSerialPort)
{
    ASSERT_TRUE(m_app.Started()) << "cannot start TAVRIN_SETUP";
    ASSERT_NE(m_main, nullptr);
    ASSERT_NO_FATAL_FAILURE(Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_rowsAtBox.size(), 1u);
    const std::wstring installedName = m_rowsAtBox[0].first;

    ASSERT_TRUE(m_app.SelectItem(m_list, 0));
    AppDriver::Click(m_main, IDC_CHG_PORT);
    HWND chgPort = m_app.WaitForDialog(IDC_PORT_NAME);
    ASSERT_NE(chgPort, nullptr);
    HWND names = ::GetDlgItem(chgPort, IDC_PORT_NAME);
    ASSERT_GT(AppDriver::ComboCount(names), 2);
    // Not the preselected first item, so that the choice itself is tested.
    const std::wstring chosenName = AppDriver::ComboText(names, 2);
    EXPECT_EQ(chosenName.substr(0, 3), L"COM");
    ASSERT_NE(chosenName, installedName);
    ASSERT_TRUE(AppDriver::SelectComboItem(names, 2));
    AppDriver::Click(chgPort, IDOK);

    // Wine cannot restart a device; the rename reports it and goes on.
    ASSERT_NO_FATAL_FAILURE(Expect(L"ChangeState fails: 120\n", "renaming the serial port"));
    EXPECT_EQ(m_rowsAtBox, ListRows({ { installedName, L"USB" } }));
    EXPECT_EQ(Rows(), ListRows({ { chosenName, L"USB" } }));

    ASSERT_TRUE(m_app.SelectItem(m_list, 0));
    AppDriver::Click(m_main, IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(Expect(IDS_UNINSTALL_OK, "uninstalling the renamed port"));
    EXPECT_EQ(Rows(), ListRows());

    EXPECT_EQ(m_app.Close(m_main), 0u);
}
}  // namespace
