#include "InstallTestSupport.h"
#include "ThreadCreation.h"

#include "install/WaitDialog.h"
#include "package/DriverPackage.h"

#include "support/ProgressBarRecorder.h"
#include "support/ScratchTempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {
const char kDamagedPackage[] = "MSCF, but no cabinet";

HANDLE g_suspendedWorker = nullptr;

HANDLE WINAPI SuspendedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                    LPVOID parameter, DWORD flags, LPDWORD id)
{
    g_suspendedWorker = ::CreateThread(security, stack, start, parameter, flags | CREATE_SUSPENDED, id);
    return g_suspendedWorker;
}

class WaitDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemovePortDevices();
        const std::optional<DriverPackage> package = LoadDriverPackage();
        ASSERT_TRUE(package.has_value());
        m_job = { package->pData, package->cbData, PortKindSerial, nullptr };
    }

    void TearDown() override { RemovePortDevices(); }

    INT_PTR RunDialog(std::vector<DialogDriver::Action> actions = {})
    {
        DialogDriver driver(std::move(actions));
        CWaitDialog dialog(nullptr, &m_job);
        return dialog.DoModal();
    }

    ScratchTempFolder m_temp;
    InstallJob m_job = {};
    ProgressBarRecorder m_bar;
};

TEST_F(WaitDialogTest, EndsWithOkWhenTheWorkerSucceeded)
{
    EXPECT_EQ(RunDialog(), IDOK);
    EXPECT_EQ(m_bar.Positions(), (std::vector<int>{ 0, 50, 80, 90, 100 }));
    EXPECT_NE(m_job.hNotifyWnd, nullptr);
    EXPECT_EQ(RemovePortDevices().size(), 1u);
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(WaitDialogTest, EndsWithCancelWhenTheWorkerFailed)
{
    m_job = { reinterpret_cast<const BYTE*>(kDamagedPackage), sizeof(kDamagedPackage), PortKindSerial, nullptr };
    EXPECT_EQ(RunDialog(), IDCANCEL);
    EXPECT_EQ(m_bar.Positions(), (std::vector<int>{ 0, 90, 100 }));
}

TEST_F(WaitDialogTest, EndsWithAbortAtOnceWhenNoWorkerStarts)
{
    ThreadCreation failing(&ThreadCreation::Failing);
    EXPECT_EQ(RunDialog(), IDABORT);
    EXPECT_EQ(m_bar.Positions(), std::vector<int>{ 0 });
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(WaitDialogTest, IgnoresEnterEscapeAndCloseWhileTheWorkerRuns)
{
    ThreadCreation suspended(&SuspendedCreateThread);
    const auto tryToEnd = [](HWND dialog) {
        // All of them are in the queue before the worker's first report.
        ::PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ::ResumeThread(g_suspendedWorker);
    };
    EXPECT_EQ(RunDialog({ tryToEnd }), IDOK);
    EXPECT_EQ(m_bar.Positions(), (std::vector<int>{ 0, 50, 80, 90, 100 }));
}
}  // namespace
