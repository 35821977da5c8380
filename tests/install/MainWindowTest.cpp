#include "MainWindowTest.h"

#include "InstallTestSupport.h"

void MainWindowTest::SetUp()
{
    if (m_devices == RemovePortDevicesAround)
        RemovePortDevices();
    m_main = std::make_unique<CMainDlg>();
    ASSERT_TRUE(m_main->Create());
}

void MainWindowTest::TearDown()
{
    m_main.reset();
    if (m_devices == RemovePortDevicesAround)
        RemovePortDevices();
}

void MainWindowTest::AddSentinelRow(bool selected)
{
    const int row = List().InsertItem(List().GetItemCount(), L"SENTINEL");
    if (selected)
        List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}
