#include "InstallTestSupport.h"
#include "MainWindowTest.h"

#include "res/resource.h"

#include "framework/WinApp.h"

#include "support/DebugOutputCapture.h"
#include "support/NativeArchOverride.h"
#include "support/ScratchTempFolder.h"
#include "support/TestFiles.h"
#include "support/WindowsArch.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using Lines = std::vector<std::wstring>;

// What the user sees of one Uninstall.
struct Outcome {
    Boxes boxes;
    Lines traces;
    ListRows rowsAfter;
};

class UninstallCommandTest : public MainWindowTest {
protected:
    UninstallCommandTest() : MainWindowTest(RemovePortDevicesAround) {}

    void AddDevice(const wchar_t* hardwareId, const wchar_t* portName)
    {
        std::wstring instanceId;
        ASSERT_EQ(PortDevice::Create(hardwareId, L"Test Port", portName, instanceId),
                  static_cast<DWORD>(ERROR_SUCCESS));
    }

    // Presses Uninstall; the observer sees each message box as it is shown.
    Outcome Uninstall(MessageBoxRecorder::Observer observer = MessageBoxRecorder::Observer())
    {
        Outcome outcome;
        MessageBoxRecorder boxes(MessageBoxRecorder::Record, std::move(observer));
        DebugOutputCapture traces;
        m_main->OnUninstall();
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0) << "the hourglass stays on";
        outcome.boxes = boxes.Boxes();
        outcome.traces = traces.Lines();
        outcome.rowsAfter = Rows(List());
        return outcome;
    }
};

TEST_F(UninstallCommandTest, AsksForASelectedRowFirst)
{
    AddDevice(kSerialPortHardwareId, L"COM42");
    AddSentinelRow(false);
    const Outcome outcome = Uninstall();
    EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_SELECT_PORT, MB_ICONWARNING, true) });
    EXPECT_EQ(outcome.traces, Lines());
    EXPECT_EQ(outcome.rowsAfter, (ListRows{ { L"SENTINEL", L"" } }));
    EXPECT_EQ(m_temp.Entries(), Lines());
    EXPECT_EQ(RemovePortDevices(), Lines{ L"COM42" });
}

TEST_F(UninstallCommandTest, ReportsAPackageThatIsNotExtractedWithoutRefreshing)
{
    AddSentinelRow(true);
    // Too long a temporary directory for the work folder's name.
    ScratchTempFolder::SetTmp(m_temp.Path() + L"\\" + std::wstring(250, L'x'));
    const Outcome outcome = Uninstall();
    EXPECT_EQ(outcome.boxes, Boxes{ Box(IDS_UNINSTALL_FAILED, MB_ICONERROR, true) });
    EXPECT_EQ(outcome.traces, Lines{ L"failed to extract files\n" });
    EXPECT_EQ(outcome.rowsAfter, (ListRows{ { L"SENTINEL", L"" } }));
    EXPECT_EQ(m_temp.Entries(), Lines());
}

TEST_F(UninstallCommandTest, RemovesEveryPortWhicheverRowIsSelected)
{
    struct Case {
        std::vector<std::pair<const wchar_t*, const wchar_t*>> devices;  // hardware ID, port name
        Boxes boxes;
        Lines traces;
    };
    const Case cases[] = {
        { {},
          {},
          { L"start to uninstall serial\n", L"process exit with 4\n", L"start to uninstall parallel\n",
            L"process exit with 4\n", L"start to uninstall old version\n", L"process exit with 4\n" } },
        { { { kSerialPortHardwareId, L"COM42" } },
          { Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true) },
          { L"start to uninstall serial\n", L"start to uninstall parallel\n", L"process exit with 4\n",
            L"start to uninstall old version\n", L"process exit with 4\n" } },
        { { { kParallelPortHardwareId, L"LPT3" }, { kOldVersionHardwareId, L"COM43" } },
          { Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true) },
          { L"start to uninstall serial\n", L"process exit with 4\n", L"start to uninstall parallel\n",
            L"start to uninstall old version\n" } },
    };
    for (const Case& c : cases) {
        for (const auto& device : c.devices)
            AddDevice(device.first, device.second);
        m_main->PortListRefresh();
        // The last row, whichever it is; the sentinel when there is no port.
        AddSentinelRow(false);
        const int last = List().GetItemCount() - 1;
        List().SetItemState(last, LVIS_SELECTED, LVIS_SELECTED);

        // The success message comes after the refresh and the work folder's deletion.
        ListRows rowsAtBox{ { L"not shown", L"" } };
        Lines temporaryAtBox{ L"not shown" };
        const Outcome outcome = Uninstall([&](const MessageBoxRecorder::Shown&) {
            rowsAtBox = Rows(List());
            temporaryAtBox = m_temp.Entries();
        });
        const size_t what = c.devices.size();
        EXPECT_EQ(outcome.boxes, c.boxes) << what;
        EXPECT_EQ(outcome.traces, c.traces) << what;
        EXPECT_EQ(outcome.rowsAfter, ListRows()) << what;
        if (!c.boxes.empty()) {
            EXPECT_EQ(rowsAtBox, ListRows()) << what;
            EXPECT_EQ(temporaryAtBox, Lines()) << what;
        }
        EXPECT_EQ(m_temp.Entries(), Lines()) << what;
        EXPECT_EQ(RemovePortDevices(), Lines()) << what;
    }
}

TEST_F(UninstallCommandTest, ReportsEachCommandThatDoesNotStartAndStillRefreshes)
{
    AddDevice(kSerialPortHardwareId, L"COM42");
    AddSentinelRow(true);
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    const Outcome outcome = Uninstall();
    const MessageBoxRecorder::Shown failed = Box(IDS_UNINSTALL_FAILED, MB_ICONERROR, true);
    EXPECT_EQ(outcome.boxes, (Boxes{ failed, failed, failed }));
    // Wine looks for the program before the current folder: "file not found" all three times.
    EXPECT_EQ(outcome.traces, (Lines{ L"CreateProcess fail![2]\n", L"CreateProcess fail![2]\n",
                                      L"CreateProcess fail![2]\n" }));
    EXPECT_EQ(outcome.rowsAfter, (ListRows{ { L"COM42", L"USB" } }));
    EXPECT_EQ(m_temp.Entries(), Lines());
}

TEST_F(UninstallCommandTest, GoesOnAfterACommandThatDoesNotStart)
{
    AddDevice(kParallelPortHardwareId, L"LPT3");
    AddSentinelRow(true);
    NativeArchOverride itanium(PROCESSOR_ARCHITECTURE_IA64);
    // While the first failure is reported, devcon turns up in the architecture folder.
    const auto supplyDevcon = [this](const MessageBoxRecorder::Shown&) {
        const Lines entries = m_temp.Entries();
        // Only the work folder is there, until it is deleted before the success message.
        if (entries.size() != 1 || IsFolder(m_temp.Path() + L"\\" + entries[0] + L"\\ia64"))
            return;
        const std::wstring workFolder = m_temp.Path() + L"\\" + entries[0];
        ASSERT_TRUE(::CreateDirectoryW((workFolder + L"\\ia64").c_str(), nullptr));
        ASSERT_TRUE(::CopyFileW((workFolder + L"\\" + WindowsArch() + L"\\devcon.exe").c_str(),
                                (workFolder + L"\\ia64\\devcon.exe").c_str(), TRUE));
    };
    const Outcome outcome = Uninstall(supplyDevcon);
    EXPECT_EQ(outcome.boxes,
              (Boxes{ Box(IDS_UNINSTALL_FAILED, MB_ICONERROR, true), Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true) }));
    EXPECT_EQ(outcome.traces, (Lines{ L"CreateProcess fail![2]\n", L"start to uninstall parallel\n",
                                      L"start to uninstall old version\n", L"process exit with 4\n" }));
    EXPECT_EQ(outcome.rowsAfter, ListRows());
    EXPECT_EQ(RemovePortDevices(), Lines());
}
}  // namespace
