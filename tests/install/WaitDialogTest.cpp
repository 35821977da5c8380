#include "InstallTestSupport.h"
#include "ParallelNamesTaken.h"
#include "ThreadCreation.h"

#include "common/ProgressMessage.h"
#include "install/InstallWorker.h"
#include "install/WaitDialog.h"
#include "package/DriverPackage.h"

#include "support/DebugOutputCapture.h"
#include "support/NativeArchOverride.h"
#include "support/ProgressBarRecorder.h"
#include "support/ScratchTempFolder.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
const DWORD kNotDone = 0xFFFFFFFF;
const char kDamagedPackage[] = "MSCF, but no cabinet";

using Reports = std::vector<std::pair<WPARAM, LPARAM>>;

class InstallWorkerTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemovePortDevices();
        m_window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        const std::optional<DriverPackage> package = LoadDriverPackage();
        ASSERT_TRUE(package.has_value());
        m_job = { package->pData, package->cbData, PortKindSerial, m_window };
    }

    void TearDown() override
    {
        ::DestroyWindow(m_window);
        RemovePortDevices();
    }

    // Runs the worker on this thread; its exit code, and what it posted.
    DWORD Run(Reports& reports)
    {
        const DWORD result = InstallWorker(&m_job);
        MSG message;
        while (::PeekMessageW(&message, m_window, ProgressMessage, ProgressMessage, PM_REMOVE))
            reports.emplace_back(message.wParam, message.lParam);
        return result;
    }

    ScratchTempFolder m_temp;
    HWND m_window = nullptr;
    InstallJob m_job = {};
};

TEST_F(InstallWorkerTest, InstallsThePortKindAndEndsWithDevconsExitCode)
{
    for (PortKind kind : { PortKindSerial, PortKindParallel }) {
        m_job.nPortKind = kind;
        DebugOutputCapture traces;
        Reports reports;
        EXPECT_EQ(Run(reports), 0u);
        EXPECT_EQ(reports, (Reports{ { 1, 50 }, { 1, 80 }, { 1, 90 }, { 1, 100 }, { 0, 0 } }));
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ L"start to install\n" });
        const std::vector<std::wstring> installed = RemovePortDevices();
        ASSERT_EQ(installed.size(), 1u);
        EXPECT_EQ(installed[0].substr(0, 3), kind == PortKindSerial ? L"COM" : L"LPT");
        EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
    }

    // devcon finds no free LPT name: its own nonzero exit code.
    ParallelNamesTaken taken;
    Reports reports;
    EXPECT_EQ(Run(reports), 5u);
    EXPECT_EQ(reports, (Reports{ { 1, 50 }, { 1, 80 }, { 1, 90 }, { 1, 100 }, { 0, 0 } }));
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(InstallWorkerTest, FailsWhenDevconDoesNotStart)
{
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    DebugOutputCapture traces;
    Reports reports;
    EXPECT_EQ(Run(reports), kNotDone);
    EXPECT_EQ(reports, (Reports{ { 1, 50 }, { 1, 90 }, { 1, 100 }, { 0, 0 } }));
    EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ L"CreateProcess fail![2]\n" });
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(InstallWorkerTest, FailsWhenThePackageIsNotExtracted)
{
    const auto expectNotExtracted = [this](const char* what) {
        DebugOutputCapture traces;
        Reports reports;
        EXPECT_EQ(Run(reports), kNotDone) << what;
        EXPECT_EQ(reports, (Reports{ { 1, 90 }, { 1, 100 }, { 0, 0 } })) << what;
        EXPECT_EQ(traces.Lines(), std::vector<std::wstring>{ L"failed to extract files\n" }) << what;
        EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>()) << what;
    };

    ScratchTempFolder::SetTmp(m_temp.Path() + L"\\missing");
    expectNotExtracted("no work folder");
    ScratchTempFolder::SetTmp(m_temp.Path());

    m_job.pData = reinterpret_cast<const BYTE*>(kDamagedPackage);
    m_job.cbData = sizeof(kDamagedPackage);
    expectNotExtracted("damaged package");
}

HANDLE g_suspendedWorker = nullptr;

HANDLE WINAPI SuspendedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                    LPVOID parameter, DWORD flags, LPDWORD id)
{
    g_suspendedWorker = ::CreateThread(security, stack, start, parameter, flags | CREATE_SUSPENDED, id);
    return g_suspendedWorker;
}

class WaitDialogTest : public InstallWorkerTest {
protected:
    INT_PTR RunDialog(std::vector<DialogDriver::Action> actions = {})
    {
        DialogDriver driver(std::move(actions));
        CWaitDialog dialog(nullptr, &m_job);
        return dialog.DoModal();
    }

    ProgressBarRecorder m_bar;
};

TEST_F(WaitDialogTest, EndsWithOkWhenTheWorkerSucceeded)
{
    m_job.hNotifyWnd = nullptr;
    EXPECT_EQ(RunDialog(), IDOK);
    EXPECT_EQ(m_bar.Positions(), (std::vector<int>{ 0, 50, 80, 90, 100 }));
    EXPECT_NE(m_job.hNotifyWnd, nullptr);
    EXPECT_EQ(RemovePortDevices().size(), 1u);
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
