// Install and Uninstall with platform calls failing one at a time: what the
// user sees, whether the list is rebuilt, and what stays in the temporary
// directory. Every call the clean run makes of each faulted function has a
// row of its own, so a new call shows up as a missing row.
#include "InstallTestSupport.h"
#include "MainWindowTest.h"
#include "ThreadCreation.h"

#include "install/WaitDialog.h"
#include "support/ShellDelete.h"
#include "res/resource.h"

#include "framework/WinApp.h"

#include "support/ArmedThreads.h"
#include "support/FaultPoint.h"
#include "support/ProgressBarRecorder.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <ntsecapi.h>
#include <sddl.h>
#include <winternl.h>

#include <map>
#include <memory>

namespace {
using Lines = std::vector<std::wstring>;

// A port device that neither command touches: listed only once the list is rebuilt.
const wchar_t kBystanderId[] = L"TavrinTest\\Bystander";
const wchar_t kBystanderName[] = L"COM42";

// The platform calls of both commands that can fail, by name.
const std::vector<FaultPoint>& Points()
{
    static const std::vector<FaultPoint> points = {
        IMPORT_FAULT("kernel32.dll", FindResourceW, nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND),
        IMPORT_FAULT("kernel32.dll", SizeofResource, 0, ERROR_RESOURCE_DATA_NOT_FOUND),
        IMPORT_FAULT("kernel32.dll", LoadResource, nullptr, ERROR_RESOURCE_DATA_NOT_FOUND),
        IMPORT_FAULT("kernel32.dll", LockResource, nullptr, ERROR_INVALID_HANDLE),
        IMPORT_FAULT("kernel32.dll", GetTempPathW, 0, ERROR_ENVVAR_NOT_FOUND),
        IMPORT_FAULT("kernel32.dll", GetTempFileNameW, 0, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("advapi32.dll", SystemFunction036, FALSE, ERROR_NOT_ENOUGH_MEMORY),
        IMPORT_FAULT("ntdll.dll", NtQueryVolumeInformationFile, static_cast<NTSTATUS>(0xC0000010L),
                     ERROR_INVALID_FUNCTION),
        IMPORT_FAULT("advapi32.dll", CheckTokenMembership, FALSE, ERROR_NO_TOKEN),
        IMPORT_FAULT("advapi32.dll", ConvertStringSecurityDescriptorToSecurityDescriptorW, FALSE,
                     ERROR_NOT_ENOUGH_MEMORY),
        IMPORT_FAULT("ntdll.dll", NtCreateFile, static_cast<NTSTATUS>(0xC0000022L), ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", CreateFileW, INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", WriteFile, FALSE, ERROR_DISK_FULL),
        IMPORT_FAULT("kernel32.dll", CreateProcessW, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", GetExitCodeProcess, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("user32.dll", PostMessageW, FALSE, ERROR_NOT_ENOUGH_QUOTA),
        SLOT_FAULT(CWaitDialog::s_createThread, nullptr, ERROR_NOT_ENOUGH_MEMORY),
        IMPORT_FAULT("advapi32.dll", RegQueryValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED),
        SETUP_FAULT(SetupIterateCabinetW, FALSE, ERROR_ACCESS_DENIED),
        SETUP_FAULT(SetupDiGetClassDevsW, INVALID_HANDLE_VALUE, ERROR_NOT_ENOUGH_MEMORY),
        SETUP_FAULT(SetupDiEnumDeviceInfo, FALSE, ERROR_NOT_ENOUGH_MEMORY),
        SETUP_FAULT(SetupDiOpenDevRegKey, static_cast<HKEY>(INVALID_HANDLE_VALUE), ERROR_ACCESS_DENIED),
    };
    return points;
}

// What the user sees of one command, and what it leaves behind.
struct Outcome {
    Boxes boxes;
    std::vector<int> barPositions;
    bool refreshed = false;
};

bool operator==(const Outcome& a, const Outcome& b)
{
    return a.boxes == b.boxes && a.barPositions == b.barPositions && a.refreshed == b.refreshed;
}

void PrintTo(const Outcome& outcome, std::ostream* os)
{
    *os << "boxes " << testing::PrintToString(outcome.boxes) << ", bar "
        << testing::PrintToString(outcome.barPositions) << (outcome.refreshed ? ", refreshed" : ", not refreshed");
}

struct Row {
    const char* point;
    int failingCall;
    Outcome expected;
};

// Install's outcomes; the hourglass is on while the message is shown.
const std::vector<int> kAllSteps = { 0, 50, 80, 90, 100 };
const std::vector<int> kNotStarted = { 0, 50, 90, 100 };
const std::vector<int> kNotExtracted = { 0, 90, 100 };
const Outcome kInstalled = { { Box(IDS_INSTALL_OK, MB_ICONINFORMATION, true) }, kAllSteps, true };
Outcome InstallFails(std::vector<int> bar)
{
    return { { Box(IDS_INSTALL_FAILED, MB_ICONERROR, true) }, std::move(bar), false };
}
const Outcome kNoInstall = { {}, {}, false };

// Uninstall's outcomes: its boxes, all under the hourglass.
const MessageBoxRecorder::Shown kUninstallFailed = Box(IDS_UNINSTALL_FAILED, MB_ICONERROR, true);
const MessageBoxRecorder::Shown kUninstalled = Box(IDS_UNINSTALL_OK, MB_ICONINFORMATION, true);
Outcome UninstallOutcome(Boxes boxes, bool refreshed)
{
    return { std::move(boxes), {}, refreshed };
}

const std::vector<Row> kInstallRows = {
    { "FindResourceW", 1, kNoInstall },
    { "SizeofResource", 1, InstallFails(kNotExtracted) },
    { "LoadResource", 1, kNoInstall },
    // Nothing to write: the package is not extracted.
    { "LockResource", 1, InstallFails(kNotExtracted) },
    // Calls 1 make the work folder, calls 2 the temporary cabinet's.
    { "GetTempPathW", 1, InstallFails(kNotExtracted) },
    { "GetTempPathW", 2, InstallFails(kNotExtracted) },
    { "GetTempFileNameW", 1, InstallFails(kNotExtracted) },
    { "GetTempFileNameW", 2, InstallFails(kNotExtracted) },
    // Without a random number the folder is named all the same.
    { "SystemFunction036", 1, kInstalled },
    { "SystemFunction036", 2, kInstalled },
    // A volume that cannot be asked is refused: the Windows folder's
    // temporary directory serves instead.
    { "NtQueryVolumeInformationFile", 1, kInstalled },
    { "NtQueryVolumeInformationFile", 2, kInstalled },
    { "NtQueryVolumeInformationFile", 3, kInstalled },
    { "NtQueryVolumeInformationFile", 4, kInstalled },
    // Whether the process is an administrator is not known: the folders are protected.
    { "CheckTokenMembership", 1, kInstalled },
    { "CheckTokenMembership", 2, kInstalled },
    // Without the protection nothing is made.
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 1, InstallFails(kNotExtracted) },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 2, InstallFails(kNotExtracted) },
    // The work folder, its x86 and amd64 folders, the temporary cabinet's folder.
    { "NtCreateFile", 1, InstallFails(kNotExtracted) },
    { "NtCreateFile", 2, InstallFails(kNotExtracted) },
    { "NtCreateFile", 3, InstallFails(kNotExtracted) },
    { "NtCreateFile", 4, InstallFails(kNotExtracted) },
    // The extraction finds its destination there already, by failing to make it.
    { "NtCreateFile", 5, kInstalled },
    { "CreateFileW", 1, InstallFails(kNotExtracted) },
    { "WriteFile", 1, InstallFails(kNotExtracted) },
    { "CreateProcessW", 1, InstallFails(kNotStarted) },
    // The tool ran, but whether it succeeded is unknown.
    { "GetExitCodeProcess", 1, InstallFails(kAllSteps) },
    // A lost progress report only leaves the bar where it was.
    { "PostMessageW", 1, { kInstalled.boxes, { 0, 80, 90, 100 }, true } },
    { "PostMessageW", 2, { kInstalled.boxes, { 0, 50, 90, 100 }, true } },
    { "PostMessageW", 3, { kInstalled.boxes, { 0, 50, 80, 100 }, true } },
    { "PostMessageW", 4, { kInstalled.boxes, { 0, 50, 80, 90 }, true } },
    // The completion report is posted again until it arrives.
    { "PostMessageW", 5, kInstalled },
    { "CWaitDialog::s_createThread", 1, InstallFails({ 0 }) },
    // The list is rebuilt without the port whose name cannot be read: the
    // bystander, then the new one.
    { "RegQueryValueExW", 1, kInstalled },
    { "RegQueryValueExW", 2, kInstalled },
    { "SetupIterateCabinetW", 1, InstallFails(kNotExtracted) },
    // No devices to list: the list stays empty after the success message.
    { "SetupDiGetClassDevsW", 1, { kInstalled.boxes, kAllSteps, false } },
    { "SetupDiEnumDeviceInfo", 1, { kInstalled.boxes, kAllSteps, false } },
    // The list ends early, or (3) where it would have ended anyway.
    { "SetupDiEnumDeviceInfo", 2, kInstalled },
    { "SetupDiEnumDeviceInfo", 3, kInstalled },
    // The device whose key cannot be opened is left out.
    { "SetupDiOpenDevRegKey", 1, kInstalled },
    { "SetupDiOpenDevRegKey", 2, kInstalled },
};

const std::vector<Row> kUninstallRows = {
    { "FindResourceW", 1, UninstallOutcome({}, false) },
    { "SizeofResource", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "LoadResource", 1, UninstallOutcome({}, false) },
    { "LockResource", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "GetTempPathW", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "GetTempPathW", 2, UninstallOutcome({ kUninstallFailed }, false) },
    { "GetTempFileNameW", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "GetTempFileNameW", 2, UninstallOutcome({ kUninstallFailed }, false) },
    { "SystemFunction036", 1, UninstallOutcome({ kUninstalled }, true) },
    { "SystemFunction036", 2, UninstallOutcome({ kUninstalled }, true) },
    { "NtQueryVolumeInformationFile", 1, UninstallOutcome({ kUninstalled }, true) },
    { "NtQueryVolumeInformationFile", 2, UninstallOutcome({ kUninstalled }, true) },
    { "NtQueryVolumeInformationFile", 3, UninstallOutcome({ kUninstalled }, true) },
    { "NtQueryVolumeInformationFile", 4, UninstallOutcome({ kUninstalled }, true) },
    { "CheckTokenMembership", 1, UninstallOutcome({ kUninstalled }, true) },
    { "CheckTokenMembership", 2, UninstallOutcome({ kUninstalled }, true) },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 2, UninstallOutcome({ kUninstallFailed }, false) },
    { "NtCreateFile", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "NtCreateFile", 2, UninstallOutcome({ kUninstallFailed }, false) },
    { "NtCreateFile", 3, UninstallOutcome({ kUninstallFailed }, false) },
    { "NtCreateFile", 4, UninstallOutcome({ kUninstallFailed }, false) },
    { "NtCreateFile", 5, UninstallOutcome({ kUninstalled }, true) },
    { "CreateFileW", 1, UninstallOutcome({ kUninstallFailed }, false) },
    { "WriteFile", 1, UninstallOutcome({ kUninstallFailed }, false) },
    // The serial port stays, and the other two commands find nothing to remove.
    { "CreateProcessW", 1, UninstallOutcome({ kUninstallFailed }, true) },
    { "CreateProcessW", 2, UninstallOutcome({ kUninstallFailed, kUninstalled }, true) },
    { "CreateProcessW", 3, UninstallOutcome({ kUninstallFailed, kUninstalled }, true) },
    // The serial command removed the port, but its exit code is unknown.
    { "GetExitCodeProcess", 1, UninstallOutcome({}, true) },
    { "GetExitCodeProcess", 2, UninstallOutcome({ kUninstalled }, true) },
    { "GetExitCodeProcess", 3, UninstallOutcome({ kUninstalled }, true) },
    // The list is rebuilt without the bystander.
    { "RegQueryValueExW", 1, UninstallOutcome({ kUninstalled }, true) },
    { "SetupIterateCabinetW", 1, UninstallOutcome({ kUninstallFailed }, false) },
    // The list is emptied and rebuilt with what can be read.
    { "SetupDiGetClassDevsW", 1, UninstallOutcome({ kUninstalled }, true) },
    { "SetupDiEnumDeviceInfo", 1, UninstallOutcome({ kUninstalled }, true) },
    { "SetupDiEnumDeviceInfo", 2, UninstallOutcome({ kUninstalled }, true) },
    { "SetupDiOpenDevRegKey", 1, UninstallOutcome({ kUninstalled }, true) },
};

class FaultInjectionTest : public MainWindowTest {
protected:
    FaultInjectionTest() : MainWindowTest(RemovePortDevicesAround) {}

    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Made after the window came up, so that the list does not show it yet.
        std::wstring instanceId;
        ASSERT_EQ(PortDevice::Create(kBystanderId, L"Bystander", kBystanderName, instanceId),
                  static_cast<DWORD>(ERROR_SUCCESS));
    }
    void TearDown() override
    {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(kBystanderId, removed), static_cast<DWORD>(ERROR_SUCCESS));
        MainWindowTest::TearDown();
    }

    // Presses Install (a serial port) with the points injected, each failing
    // its call number failingCall.
    Outcome Install(const std::vector<const FaultPoint*>& points, int failingCall)
    {
        List().DeleteAllItems();
        Outcome outcome;
        MessageBoxRecorder boxes;
        ProgressBarRecorder bar;
        {
            ThreadCreation armedWorker(&ArmedThreads::CreateArmedThread);
            std::vector<std::shared_ptr<void>> faults;
            for (const FaultPoint* point : points)
                faults.push_back(point->Inject(failingCall));
            DialogDriver driver({ ChoosePortKind(PortKindSerial) });
            ArmedThreads armed;
            m_main->OnInstall();
        }
        outcome.boxes = boxes.Boxes();
        outcome.barPositions = bar.Positions();
        // A rebuilt list shows the bystander or the new port, or both.
        outcome.refreshed = List().GetItemCount() != 0;
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0) << "the hourglass stays on";
        RemovePortDevices();
        return outcome;
    }

    // Presses Uninstall with a row selected and one serial port installed.
    Outcome Uninstall(const std::vector<const FaultPoint*>& points, int failingCall)
    {
        std::wstring instanceId;
        EXPECT_EQ(PortDevice::Create(kSerialPortHardwareId, L"Virtual Serial Port", L"COM43", instanceId),
                  static_cast<DWORD>(ERROR_SUCCESS));
        List().DeleteAllItems();
        AddSentinelRow(true);
        Outcome outcome;
        MessageBoxRecorder boxes;
        {
            std::vector<std::shared_ptr<void>> faults;
            for (const FaultPoint* point : points)
                faults.push_back(point->Inject(failingCall));
            ArmedThreads armed;
            m_main->OnUninstall();
        }
        outcome.boxes = boxes.Boxes();
        outcome.refreshed = !Listed(L"SENTINEL");
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0) << "the hourglass stays on";
        RemovePortDevices();
        return outcome;
    }

    bool Listed(const std::wstring& name)
    {
        for (const auto& row : Rows(List())) {
            if (row.first == name)
                return true;
        }
        return false;
    }

    // Checks that the command left nothing in the temporary directory, and clears what it left.
    void ExpectNothingLeft(const std::string& what)
    {
        const Lines entries = m_temp.Entries();
        EXPECT_EQ(entries, Lines()) << what;
        for (const std::wstring& entry : entries)
            ShellDeleteTree((m_temp.Path() + L"\\" + entry).c_str(), nullptr,
                            FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
    }

    // The calls a clean run makes of each point, with every point in place.
    template <typename Run>
    std::map<std::string, int> CountCalls(Run run, const Outcome& expected)
    {
        EXPECT_EQ(run(AllFaultPoints(Points()), FaultPoint::kNoCall), expected) << "clean run";
        ExpectNothingLeft("clean run");
        return FaultPointCalls(Points());
    }

    template <typename Run>
    void RunRows(Run run, const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            const std::string what = std::string(row.point) + " call " + std::to_string(row.failingCall);
            const FaultPoint& point = FindFaultPoint(Points(), row.point);
            EXPECT_EQ(run({ &point }, row.failingCall), row.expected) << what;
            EXPECT_GE(point.Calls(), row.failingCall) << what << ": the failing call was not made";
            ExpectNothingLeft(what);
        }
    }
};

TEST_F(FaultInjectionTest, InstallHasARowForEveryCall)
{
    const auto run = [this](const std::vector<const FaultPoint*>& points, int call) { return Install(points, call); };
    EXPECT_EQ(CountCalls(run, kInstalled), CallsWithARow(Points(), kInstallRows));
}

TEST_F(FaultInjectionTest, UninstallHasARowForEveryCall)
{
    const auto run = [this](const std::vector<const FaultPoint*>& points, int call) { return Uninstall(points, call); };
    EXPECT_EQ(CountCalls(run, UninstallOutcome({ kUninstalled }, true)), CallsWithARow(Points(), kUninstallRows));
}

TEST_F(FaultInjectionTest, InstallReportsEachFailedCall)
{
    RunRows([this](const std::vector<const FaultPoint*>& points, int call) { return Install(points, call); },
            kInstallRows);
}

TEST_F(FaultInjectionTest, UninstallReportsEachFailedCall)
{
    RunRows([this](const std::vector<const FaultPoint*>& points, int call) { return Uninstall(points, call); },
            kUninstallRows);
}
}  // namespace
