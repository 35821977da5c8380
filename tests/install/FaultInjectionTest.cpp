// Install and Uninstall with platform calls failing one at a time: what the
// user sees, whether the list is rebuilt, and what stays in the temporary
// directory. Every call the clean run makes of each faulted function has a
// row of its own, so a new call shows up as a missing row.
#include "InstallTestSupport.h"
#include "MainWindowTest.h"
#include "ThreadCreation.h"

#include "install/WaitDialog.h"
#include "package/ShellDelete.h"
#include "res/resource.h"

#include "framework/WinApp.h"

#include "support/ArmedThreads.h"
#include "support/FaultPoint.h"
#include "support/ProgressBarRecorder.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
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
        IMPORT_FAULT("kernel32.dll", DeleteFileW, FALSE, ERROR_SHARING_VIOLATION),
        IMPORT_FAULT("advapi32.dll", CheckTokenMembership, FALSE, ERROR_NO_TOKEN),
        IMPORT_FAULT("advapi32.dll", ConvertStringSecurityDescriptorToSecurityDescriptorW, FALSE,
                     ERROR_NOT_ENOUGH_MEMORY),
        IMPORT_FAULT("ntdll.dll", NtCreateFile, static_cast<NTSTATUS>(0xC0000022L), ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", RemoveDirectoryW, FALSE, ERROR_SHARING_VIOLATION),
        IMPORT_FAULT("shell32.dll", SHCreateDirectory, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", CreateFileW, INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", WriteFile, FALSE, ERROR_DISK_FULL),
        IMPORT_FAULT("shlwapi.dll", PathIsDirectoryW, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", CreateProcessW, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("kernel32.dll", GetExitCodeProcess, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("shlwapi.dll", PathFileExistsW, FALSE, ERROR_ACCESS_DENIED),
        IMPORT_FAULT("shell32.dll", SHFileOperationW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED),
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

// Whether the temporary directory may keep something: only when a deletion failed.
enum class Leaves { Nothing, WhatWasNotDeleted };

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
    Leaves leaves;
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
    { "FindResourceW", 1, kNoInstall, Leaves::Nothing },
    { "SizeofResource", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "LoadResource", 1, kNoInstall, Leaves::Nothing },
    // Nothing to write: the package is not extracted.
    { "LockResource", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    // Calls 1 make the work folder, calls 2 the temporary cabinet's.
    { "GetTempPathW", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "GetTempPathW", 2, InstallFails(kNotExtracted), Leaves::Nothing },
    { "GetTempFileNameW", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "GetTempFileNameW", 2, InstallFails(kNotExtracted), Leaves::Nothing },
    // The name Windows made stays a file: the folder cannot take its place.
    { "DeleteFileW", 1, InstallFails(kNotExtracted), Leaves::WhatWasNotDeleted },
    { "DeleteFileW", 2, InstallFails(kNotExtracted), Leaves::WhatWasNotDeleted },
    // The temporary cabinet stays, and so its folder.
    { "DeleteFileW", 3, kInstalled, Leaves::WhatWasNotDeleted },
    // Whether the process is an administrator is not known: the folders are protected.
    { "CheckTokenMembership", 1, kInstalled, Leaves::Nothing },
    { "CheckTokenMembership", 2, kInstalled, Leaves::Nothing },
    // Without the protection nothing is made.
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 2, InstallFails(kNotExtracted), Leaves::Nothing },
    { "NtCreateFile", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "NtCreateFile", 2, InstallFails(kNotExtracted), Leaves::Nothing },
    // Wine's cabinet iteration stops at the first entry it cannot write.
    { "SHCreateDirectory", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "SHCreateDirectory", 2, InstallFails(kNotExtracted), Leaves::Nothing },
    { "CreateFileW", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    { "WriteFile", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    // The temporary cabinet's folder stays, empty.
    { "RemoveDirectoryW", 1, kInstalled, Leaves::WhatWasNotDeleted },
    // The destination is made again (in vain), then deleted by the extraction's end.
    { "PathIsDirectoryW", 1, kInstalled, Leaves::Nothing },
    { "PathIsDirectoryW", 2, kInstalled, Leaves::Nothing },
    { "CreateProcessW", 1, InstallFails(kNotStarted), Leaves::Nothing },
    // The tool ran, but whether it succeeded is unknown.
    { "GetExitCodeProcess", 1, InstallFails(kAllSteps), Leaves::Nothing },
    // The extraction object deletes the work folder the command did not.
    { "PathFileExistsW", 1, kInstalled, Leaves::Nothing },
    { "SHFileOperationW", 1, kInstalled, Leaves::Nothing },
    // A lost progress report only leaves the bar where it was.
    { "PostMessageW", 1, { kInstalled.boxes, { 0, 80, 90, 100 }, true }, Leaves::Nothing },
    { "PostMessageW", 2, { kInstalled.boxes, { 0, 50, 90, 100 }, true }, Leaves::Nothing },
    { "PostMessageW", 3, { kInstalled.boxes, { 0, 50, 80, 100 }, true }, Leaves::Nothing },
    { "PostMessageW", 4, { kInstalled.boxes, { 0, 50, 80, 90 }, true }, Leaves::Nothing },
    // The completion report is posted again until it arrives.
    { "PostMessageW", 5, kInstalled, Leaves::Nothing },
    { "CWaitDialog::s_createThread", 1, InstallFails({ 0 }), Leaves::Nothing },
    // The list is rebuilt without the port whose name cannot be read: the
    // bystander, then the new one.
    { "RegQueryValueExW", 1, kInstalled, Leaves::Nothing },
    { "RegQueryValueExW", 2, kInstalled, Leaves::Nothing },
    { "SetupIterateCabinetW", 1, InstallFails(kNotExtracted), Leaves::Nothing },
    // No devices to list: the list stays empty after the success message.
    { "SetupDiGetClassDevsW", 1, { kInstalled.boxes, kAllSteps, false }, Leaves::Nothing },
    { "SetupDiEnumDeviceInfo", 1, { kInstalled.boxes, kAllSteps, false }, Leaves::Nothing },
    // The list ends early, or (3) where it would have ended anyway.
    { "SetupDiEnumDeviceInfo", 2, kInstalled, Leaves::Nothing },
    { "SetupDiEnumDeviceInfo", 3, kInstalled, Leaves::Nothing },
    // The device whose key cannot be opened is left out.
    { "SetupDiOpenDevRegKey", 1, kInstalled, Leaves::Nothing },
    { "SetupDiOpenDevRegKey", 2, kInstalled, Leaves::Nothing },
};

const std::vector<Row> kUninstallRows = {
    { "FindResourceW", 1, UninstallOutcome({}, false), Leaves::Nothing },
    { "SizeofResource", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "LoadResource", 1, UninstallOutcome({}, false), Leaves::Nothing },
    { "LockResource", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "GetTempPathW", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "GetTempPathW", 2, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "GetTempFileNameW", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "GetTempFileNameW", 2, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "DeleteFileW", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::WhatWasNotDeleted },
    { "DeleteFileW", 2, UninstallOutcome({ kUninstallFailed }, false), Leaves::WhatWasNotDeleted },
    { "DeleteFileW", 3, UninstallOutcome({ kUninstalled }, true), Leaves::WhatWasNotDeleted },
    { "CheckTokenMembership", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "CheckTokenMembership", 2, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 1, UninstallOutcome({ kUninstallFailed }, false),
      Leaves::Nothing },
    { "ConvertStringSecurityDescriptorToSecurityDescriptorW", 2, UninstallOutcome({ kUninstallFailed }, false),
      Leaves::Nothing },
    { "NtCreateFile", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "NtCreateFile", 2, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "SHCreateDirectory", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "SHCreateDirectory", 2, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "CreateFileW", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "WriteFile", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    { "RemoveDirectoryW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::WhatWasNotDeleted },
    { "PathIsDirectoryW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "PathIsDirectoryW", 2, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    // The serial port stays, and the other two commands find nothing to remove.
    { "CreateProcessW", 1, UninstallOutcome({ kUninstallFailed }, true), Leaves::Nothing },
    { "CreateProcessW", 2, UninstallOutcome({ kUninstallFailed, kUninstalled }, true), Leaves::Nothing },
    { "CreateProcessW", 3, UninstallOutcome({ kUninstallFailed, kUninstalled }, true), Leaves::Nothing },
    // The serial command removed the port, but its exit code is unknown.
    { "GetExitCodeProcess", 1, UninstallOutcome({}, true), Leaves::Nothing },
    { "GetExitCodeProcess", 2, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "GetExitCodeProcess", 3, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "PathFileExistsW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "SHFileOperationW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    // The list is rebuilt without the bystander.
    { "RegQueryValueExW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "SetupIterateCabinetW", 1, UninstallOutcome({ kUninstallFailed }, false), Leaves::Nothing },
    // The list is emptied and rebuilt with what can be read.
    { "SetupDiGetClassDevsW", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "SetupDiEnumDeviceInfo", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "SetupDiEnumDeviceInfo", 2, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
    { "SetupDiOpenDevRegKey", 1, UninstallOutcome({ kUninstalled }, true), Leaves::Nothing },
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

    // Checks and then clears what the command left in the temporary directory.
    void ExpectLeftovers(Leaves leaves, const std::string& what)
    {
        const Lines entries = m_temp.Entries();
        if (leaves == Leaves::Nothing) {
            EXPECT_EQ(entries, Lines()) << what;
        }
        for (const std::wstring& entry : entries)
            ShellDeleteTree((m_temp.Path() + L"\\" + entry).c_str(), nullptr,
                            FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
    }

    // The calls a clean run makes of each point, with every point in place.
    template <typename Run>
    std::map<std::string, int> CountCalls(Run run, const Outcome& expected)
    {
        EXPECT_EQ(run(AllFaultPoints(Points()), FaultPoint::kNoCall), expected) << "clean run";
        ExpectLeftovers(Leaves::Nothing, "clean run");
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
            ExpectLeftovers(row.leaves, what);
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
