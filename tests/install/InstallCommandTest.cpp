#include "InstallTestSupport.h"
#include "MainWindowTest.h"
#include "ParallelNamesTaken.h"
#include "ThreadCreation.h"

#include "res/resource.h"

#include "framework/WinApp.h"

#include "support/DebugOutputCapture.h"
#include "support/NativeArchOverride.h"
#include "support/ProbeLog.h"
#include "support/ProgressBarRecorder.h"
#include "support/ScratchTempFolder.h"
#include "support/Utf8AnsiCodePage.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
// What the user sees of one Install.
struct Outcome {
    Boxes boxes;
    std::vector<int> barPositions;
    std::vector<std::wstring> traces;
    ListRows rowsAtLastBox;
    ListRows rowsAfter;
};

// The ways an install of a parallel port fails.
enum class Fault { DevconExitsWithAnError, DevconDoesNotStart, PackageNotExtracted, NoWorkerThread };

// Brings a fault about while it lives.
class FaultSetup {
public:
    FaultSetup(Fault fault, const ScratchTempFolder& temp) : m_temp(temp)
    {
        switch (fault) {
        case Fault::DevconExitsWithAnError:
            m_noParallelName = std::make_unique<ParallelNamesTaken>();  // devcon exits with 5
            break;
        case Fault::DevconDoesNotStart:
            m_itanium = std::make_unique<NativeArchOverride>(PROCESSOR_ARCHITECTURE_IA64);
            break;
        case Fault::PackageNotExtracted:
            // Too long a temporary directory for the work folder's name.
            ScratchTempFolder::SetTmp(temp.Path() + L"\\" + std::wstring(250, L'x'));
            break;
        case Fault::NoWorkerThread:
            m_noThread = std::make_unique<ThreadCreation>(&ThreadCreation::Failing);
            break;
        }
    }
    ~FaultSetup() { ScratchTempFolder::SetTmp(m_temp.Path()); }
    FaultSetup(const FaultSetup&) = delete;
    FaultSetup& operator=(const FaultSetup&) = delete;

private:
    const ScratchTempFolder& m_temp;
    std::unique_ptr<ParallelNamesTaken> m_noParallelName;
    std::unique_ptr<NativeArchOverride> m_itanium;
    std::unique_ptr<ThreadCreation> m_noThread;
};

class InstallCommandTest : public MainWindowTest {
protected:
    InstallCommandTest() : MainWindowTest(RemovePortDevicesAround) {}

    // Presses Install; the port-type dialog, if it opens, gets the answer.
    Outcome Install(std::vector<DialogDriver::Action> answers)
    {
        Outcome outcome;
        MessageBoxRecorder boxes(MessageBoxRecorder::Record,
                                 [&](const MessageBoxRecorder::Shown&) { outcome.rowsAtLastBox = Rows(List()); });
        ProgressBarRecorder bar;
        DebugOutputCapture traces;
        {
            DialogDriver driver(std::move(answers));
            m_main->OnInstall();
        }
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0) << "the hourglass stays on";
        outcome.boxes = boxes.Boxes();
        outcome.barPositions = bar.Positions();
        outcome.traces = traces.Lines();
        outcome.rowsAfter = Rows(List());
        return outcome;
    }

};

TEST_F(InstallCommandTest, RefusesWhileAPortIsListed)
{
    AddSentinelRow(false);
    const Outcome outcome = Install({});
    EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_PORT_EXISTS, MB_ICONWARNING, false) });
    EXPECT_EQ(outcome.barPositions, std::vector<int>());
    EXPECT_EQ(outcome.rowsAfter, (ListRows{ { L"SENTINEL", L"" } }));
}

TEST_F(InstallCommandTest, EndsSilentlyWhenThePortTypeIsCancelled)
{
    const Outcome outcome = Install({ DialogDriver::ExpectControlThenClick(IDC_SERIAL_PORT, IDCANCEL) });
    EXPECT_EQ(outcome.boxes, Boxes());
    EXPECT_EQ(outcome.barPositions, std::vector<int>());
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
    EXPECT_EQ(RemovePortDevices(), std::vector<std::wstring>());
}

TEST_F(InstallCommandTest, InstallsThePortKindAndListsItBeforeReportingSuccess)
{
    for (PortKind kind : { PortKindSerial, PortKindParallel }) {
        const Outcome outcome = Install({ ChoosePortKind(kind) });
        EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_INSTALL_OK, MB_ICONINFORMATION, true) });
        EXPECT_EQ(outcome.barPositions, (std::vector<int>{ 0, 50, 80, 90, 100 }));
        EXPECT_EQ(outcome.traces, std::vector<std::wstring>{ L"start to install\n" });
        const std::vector<std::wstring> installed = RemovePortDevices();
        ASSERT_EQ(installed.size(), 1u);
        EXPECT_EQ(installed[0].substr(0, 3), kind == PortKindSerial ? L"COM" : L"LPT");
        EXPECT_EQ(outcome.rowsAtLastBox, (ListRows{ { installed[0], L"USB" } }));
        EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
        List().DeleteAllItems();
    }
}

TEST_F(InstallCommandTest, FailsWithoutRefreshingTheList)
{
    // A port the list would show after a refresh.
    std::wstring instanceId;
    ASSERT_EQ(PortDevice::Create(kSerialPortHardwareId, L"Virtual Serial Port", L"COM42", instanceId),
              static_cast<DWORD>(ERROR_SUCCESS));

    struct Case {
        Fault fault;
        std::vector<int> barPositions;
        std::vector<std::wstring> traces;
    };
    const Case cases[] = {
        { Fault::DevconExitsWithAnError, { 0, 50, 80, 90, 100 }, { L"start to install\n" } },
        { Fault::DevconDoesNotStart, { 0, 50, 90, 100 }, { L"CreateProcess fail![2]\n" } },
        { Fault::PackageNotExtracted, { 0, 90, 100 }, { L"failed to extract files\n" } },
        { Fault::NoWorkerThread, { 0 }, {} },
    };
    for (const Case& c : cases) {
        Outcome outcome;
        {
            FaultSetup fault(c.fault, m_temp);
            outcome = Install({ ChoosePortKind(PortKindParallel) });
        }
        const int what = static_cast<int>(c.fault);
        EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_INSTALL_FAILED, MB_ICONERROR, true) })
            << what;
        EXPECT_EQ(outcome.barPositions, c.barPositions) << what;
        EXPECT_EQ(outcome.traces, c.traces) << what;
        EXPECT_EQ(outcome.rowsAfter, ListRows()) << what;
        EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>()) << what;
    }
    EXPECT_EQ(RemovePortDevices(), std::vector<std::wstring>{ L"COM42" });
}

TEST_F(InstallCommandTest, InstallsAndUninstallsUnderTheUtf8AnsiCodePage)
{
    Utf8AnsiCodePage utf8;
    const Outcome outcome = Install({ ChoosePortKind(PortKindSerial) });
    EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_INSTALL_OK, MB_ICONINFORMATION, true) });
    ASSERT_EQ(outcome.rowsAfter.size(), 1u);
    List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    MessageBoxRecorder boxes;
    m_main->OnUninstall();
    EXPECT_EQ(boxes.Boxes(), Boxes{ Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true) });
    EXPECT_EQ(RemovePortDevices(), std::vector<std::wstring>());
    EXPECT_EQ(m_temp.Entries(), std::vector<std::wstring>());
}

TEST_F(InstallCommandTest, StartsDevconItselfFromATemporaryDirectoryWithBlanks)
{
    // Unquoted, "<temp>\tavrin blank\tq....tmp\amd64\devcon" would start "<temp>\tavrin.exe".
    const std::wstring blank = m_temp.Path() + L"\\tavrin blank";
    ASSERT_TRUE(::CreateDirectoryW(blank.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(ProbeLog::Probe().c_str(), (m_temp.Path() + L"\\tavrin.exe").c_str(), TRUE));
    ProbeLog planted(m_temp.Path());
    ScratchTempFolder::SetTmp(blank);

    const Outcome outcome = Install({ ChoosePortKind(PortKindSerial) });
    ScratchTempFolder::SetTmp(m_temp.Path());
    EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_INSTALL_OK, MB_ICONINFORMATION, true) });
    EXPECT_EQ(outcome.rowsAfter.size(), 1u);
    EXPECT_EQ(planted.Runs(), std::vector<ProbeLog::Run>());
    EXPECT_EQ(FolderEntries(blank), std::vector<std::wstring>());
}
}  // namespace
