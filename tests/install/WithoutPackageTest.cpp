// An executable that carries no driver package: both commands end silently.
#include "InstallTestSupport.h"
#include "MainWindowTest.h"

#include "package/DriverPackage.h"

#include "support/ProgressBarRecorder.h"

#include <gtest/gtest.h>

namespace {
using WithoutPackageTest = MainWindowTest;

TEST_F(WithoutPackageTest, InstallAndUninstallEndSilently)
{
    EXPECT_FALSE(LoadDriverPackage().has_value());

    List().DeleteAllItems();
    MessageBoxRecorder boxes;
    ProgressBarRecorder bar;
    {
        DialogDriver driver({ ChoosePortKind(PortKindSerial) });
        m_main->OnInstall();
    }
    AddSentinelRow(true);
    m_main->OnUninstall();

    EXPECT_EQ(boxes.Boxes(), Boxes());
    EXPECT_EQ(bar.Positions(), std::vector<int>());
    EXPECT_EQ(Rows(List()), (ListRows{ { L"SENTINEL", L"" } }));
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}
TEST_F(WithoutPackageTest, RestartRefusedUnderWow64ReportsTheRestartsError)
{
    MessageBoxRecorder boxes;
    RenameWithRestartRefusedAsUnderWow64(*m_main);
    EXPECT_EQ(boxes.Boxes(), Boxes{ RestartFailedBox(ERROR_IN_WOW64) });
}
}  // namespace
