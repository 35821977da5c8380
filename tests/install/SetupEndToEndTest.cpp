// The real setup.exe (TAVRIN_SETUP) in a process of its own, driven through
// its windows as a user would.
#include "SetupSession.h"

#include "res/resource.h"

#include "support/ScratchTempFolder.h"

#include <gtest/gtest.h>

namespace {
class SetupEndToEndTest : public testing::Test {
protected:
    void SetUp() override { RemovePortDevices(); }
    void TearDown() override { RemovePortDevices(); }

    ScratchTempFolder m_temp;  // inherited by setup.exe
    SetupSession m_setup;
};

TEST_F(SetupEndToEndTest, InstallsListsAndUninstallsPorts)
{
    ASSERT_TRUE(m_setup.Ready()) << "cannot start TAVRIN_SETUP";
    EXPECT_EQ(m_setup.Rows(), ListRows());

    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    EXPECT_EQ(m_setup.RowsAtBox()[0].first.substr(0, 3), L"COM");
    EXPECT_EQ(m_setup.RowsAtBox()[0].second, L"USB");

    AppDriver::Click(m_setup.Main(), IDC_INSTALL);
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_PORT_EXISTS, "installing a second port"));

    AppDriver::Click(m_setup.Main(), IDC_UNINSTALL);
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_SELECT_PORT, "uninstalling without a selection"));
    EXPECT_EQ(m_setup.RowsAtBox().size(), 1u);

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the serial port"));
    EXPECT_EQ(m_setup.RowsAtBox(), ListRows());

    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_PARALLEL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a parallel port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    EXPECT_EQ(m_setup.RowsAtBox()[0].first.substr(0, 3), L"LPT");

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the parallel port"));
    EXPECT_EQ(m_setup.Rows(), ListRows());

    EXPECT_EQ(m_setup.App().Close(m_setup.Main()), 0u);
    // No work folder and no temporary cabinet left behind.
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(SetupEndToEndTest, RenamesAnInstalledSerialPort)
{
    ASSERT_TRUE(m_setup.Ready()) << "cannot start TAVRIN_SETUP";
    ASSERT_NO_FATAL_FAILURE(m_setup.Install(IDC_SERIAL_PORT));
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_INSTALL_OK, "after installing a serial port"));
    ASSERT_EQ(m_setup.RowsAtBox().size(), 1u);
    const std::wstring installedName = m_setup.RowsAtBox()[0].first;

    ASSERT_TRUE(m_setup.App().SelectItem(m_setup.List(), 0));
    AppDriver::Click(m_setup.Main(), IDC_CHG_PORT);
    HWND chgPort = m_setup.App().WaitForDialog(IDC_PORT_NAME);
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
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(L"ChangeState fails: 120\n", "renaming the serial port"));
    EXPECT_EQ(m_setup.RowsAtBox(), ListRows({ { installedName, L"USB" } }));
    EXPECT_EQ(m_setup.Rows(), ListRows({ { chosenName, L"USB" } }));

    ASSERT_NO_FATAL_FAILURE(m_setup.Uninstall());
    ASSERT_NO_FATAL_FAILURE(m_setup.Expect(IDS_UNINSTALL_OK, "uninstalling the renamed port"));
    EXPECT_EQ(m_setup.Rows(), ListRows());

    EXPECT_EQ(m_setup.App().Close(m_setup.Main()), 0u);
}
}  // namespace
