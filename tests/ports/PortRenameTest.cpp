// Chg. Port No. in-process, against port devices made in the Wine prefix:
// which device gets which name, what the user sees, and when the list is
// rebuilt.
#include "PortMapOverride.h"

#include "app/MainDlg.h"
#include "ports/DeviceRestart.h"
#include "ports/PortInterface.h"
#include "ports/PortRename.h"
#include "ports/RegistryKey.h"
#include "res/resource.h"

#include "framework/SetupApi.h"
#include "framework/UniqueResource.h"
#include "framework/WinApp.h"

#include "support/ArmedThreads.h"
#include "support/DialogDriver.h"
#include "support/FaultPoint.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedSwap.h"
#include "support/WindowsArch.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

#include <setupapi.h>

#include <functional>

namespace {

const wchar_t kHardwareId[] = L"TavrinTest\\Rename";
const wchar_t kDescription[] = L"Virtual Serial Port";

// What the restart and key-open seams saw.
std::vector<std::wstring> g_restarted;
std::vector<int> g_waitCursorAtRestart;
int g_keyOpens = 0;

std::wstring InstanceIdOf(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    wchar_t id[MAX_PATH] = {};
    ::SetupDiGetDeviceInstanceIdW(devices, device, id, MAX_PATH, nullptr);
    return id;
}

BOOL WINAPI RestartSucceeds(HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    g_restarted.push_back(InstanceIdOf(devices, device));
    g_waitCursorAtRestart.push_back(AfxGetApp()->WaitCursorCount());
    return TRUE;
}

// The in-process restart as 64-bit Windows refuses it to a 32-bit process.
BOOL WINAPI RestartRefusedUnderWow64(HDEVINFO, PSP_DEVINFO_DATA)
{
    ::SetLastError(ERROR_IN_WOW64);
    return FALSE;
}

// Opens the key without write access, so that storing the name really fails.
HKEY WINAPI OpenKeyReadOnly(HDEVINFO devices, PSP_DEVINFO_DATA device, DWORD scope, DWORD profile, DWORD keyType,
                            REGSAM)
{
    ++g_keyOpens;
    return ::SetupDiOpenDevRegKey(devices, device, scope, profile, keyType, KEY_READ);
}

struct Port {
    std::wstring instanceId;
    std::wstring portName;
    std::wstring friendlyName;
};

// The present port devices, in the order Windows enumerates them.
std::vector<Port> PresentPorts()
{
    std::vector<Port> ports;
    DeviceInfoSet devices(::SetupDiGetClassDevsW(&PORT_INTERFACE_GUID, nullptr, nullptr,
                                                 DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; devices && ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        Port port;
        port.instanceId = InstanceIdOf(devices.Get(), &device);
        RegistryKey key(::SetupDiOpenDevRegKey(devices.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ));
        wchar_t text[256] = {};
        ULONG chars = sizeof(text) / sizeof(text[0]);
        if (key.QueryStringValue(L"PortName", text, &chars) == ERROR_SUCCESS)
            port.portName = text;
        text[0] = L'\0';
        ::SetupDiGetDeviceRegistryPropertyW(devices.Get(), &device, SPDRP_FRIENDLYNAME, nullptr,
                                            reinterpret_cast<PBYTE>(text), sizeof(text) - sizeof(text[0]), nullptr);
        port.friendlyName = text;
        ports.push_back(port);
    }
    return ports;
}

// Writes a property of the device as exactly these bytes.
void SetProperty(const std::wstring& instanceId, DWORD property, const void* data, DWORD size)
{
    DeviceInfoSet devices(::SetupDiCreateDeviceInfoList(nullptr, nullptr));
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    ASSERT_TRUE(::SetupDiOpenDeviceInfoW(devices.Get(), instanceId.c_str(), nullptr, 0, &device));
    ASSERT_TRUE(::SetupDiSetDeviceRegistryPropertyW(devices.Get(), &device, property,
                                                    static_cast<const BYTE*>(data), size));
}

Port PortOf(const std::wstring& instanceId)
{
    for (const Port& port : PresentPorts()) {
        if (port.instanceId == instanceId)
            return port;
    }
    ADD_FAILURE() << "no present device " << testing::PrintToString(instanceId);
    return {};
}

// Picks this name in the change-port-name dialog and presses OK, after
// beforeOk has run.
DialogDriver::Action Pick(const wchar_t* name, std::function<void()> beforeOk = {})
{
    return [name, beforeOk](HWND dialog) {
        HWND combo = ::GetDlgItem(dialog, IDC_PORT_NAME);
        const LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(name));
        EXPECT_NE(index, CB_ERR) << testing::PrintToString(std::wstring(name)) << " is not offered";
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        if (beforeOk)
            beforeOk();
        DialogDriver::Click(IDOK)(dialog);
    };
}

// Refuses, and counts, every dialog the test's thread tries to open.
class DialogRefusal {
public:
    DialogRefusal() : m_hook(::SetWindowsHookExW(WH_CBT, &DialogRefusal::Proc, nullptr, ::GetCurrentThreadId()))
    {
        s_refused = 0;
    }
    ~DialogRefusal() { ::UnhookWindowsHookEx(m_hook); }
    DialogRefusal(const DialogRefusal&) = delete;
    DialogRefusal& operator=(const DialogRefusal&) = delete;

    int Refused() const { return s_refused; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        wchar_t className[16] = {};
        if (code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) &&
            lstrcmpW(className, L"#32770") == 0) {
            ++s_refused;
            return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static int s_refused;
    HHOOK m_hook;
};
int DialogRefusal::s_refused = 0;

class PortRenameTest : public testing::Test {
protected:
    void SetUp() override
    {
        // COM1 alone is in use: COM5 and COM7 are offered.
        ASSERT_EQ(m_serial.SetNames({ L"COM1" }), ERROR_SUCCESS);
        g_restarted.clear();
        g_waitCursorAtRestart.clear();
        g_keyOpens = 0;
        ASSERT_TRUE(m_main.Create());
        AfxGetApp()->m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(kHardwareId, removed), static_cast<DWORD>(ERROR_SUCCESS));
    }

    std::wstring AddPort(const wchar_t* portName, const wchar_t* description = kDescription)
    {
        std::wstring instanceId;
        EXPECT_EQ(PortDevice::Create(kHardwareId, description, portName, instanceId),
                  static_cast<DWORD>(ERROR_SUCCESS));
        return instanceId;
    }
    // Lists the devices made so far, plus a row that only a refresh removes.
    void ShowPortsAndMarker()
    {
        m_main.PortListRefresh();
        CListCtrl& list = m_main.PortList();
        list.InsertItem(list.GetItemCount(), L"marker");
    }
    void Select(std::initializer_list<int> rows)
    {
        for (int row : rows)
            m_main.PortList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::vector<std::wstring> Rows()
    {
        std::vector<std::wstring> rows;
        CListCtrl& list = m_main.PortList();
        for (int row = 0; row < list.GetItemCount(); ++row)
            rows.push_back(list.GetItemText(row, 0));
        return rows;
    }
    // The device carries the new name and friendly name, the hourglass is
    // gone, and the list was rebuilt with the device's new name.
    void ExpectRenamed(const std::wstring& id, const wchar_t* portName, const wchar_t* friendlyName)
    {
        const Port port = PortOf(id);
        EXPECT_EQ(port.portName, portName);
        EXPECT_EQ(port.friendlyName, friendlyName);
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0);
        EXPECT_EQ(Rows(), std::vector<std::wstring>{ portName });
    }
    void RenameAndPick(const wchar_t* name)
    {
        DialogDriver driver({ Pick(name) });
        m_main.PortRename();
    }

    PortMapOverride m_serial{ L"HARDWARE\\DEVICEMAP\\SERIALCOMM" };
    CMainDlg m_main;
    // Restarts succeed, as on Windows, unless a test puts the platform's back.
    ScopedSwap<decltype(g_restartDevice)> m_restart{ g_restartDevice, &RestartSucceeds };
};

TEST_F(PortRenameTest, WithoutSelectionAsksForOneAndOpensNoDialog)
{
    const std::wstring id = AddPort(L"COM5");
    ShowPortsAndMarker();
    MessageBoxRecorder boxes;
    DialogRefusal refusal;

    m_main.PortRename();

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Please select one port first!");
    EXPECT_EQ(boxes.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(refusal.Refused(), 0);
    EXPECT_EQ(PortOf(id).portName, L"COM5");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{ L"COM5", L"marker" }));
}

TEST_F(PortRenameTest, SeveralSelectedRowsRenameTheLowestOnly)
{
    AddPort(L"COM5");
    AddPort(L"COM6");
    AddPort(L"COM8");
    ShowPortsAndMarker();
    const std::vector<std::wstring> before = Rows();
    Select({ 1, 2 });

    RenameAndPick(L"COM7");

    std::vector<std::wstring> expected(before.begin(), before.end() - 1);
    expected[1] = L"COM7";
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(g_restarted.size(), 1u);
}

TEST_F(PortRenameTest, CancelChangesNothing)
{
    const std::wstring id = AddPort(L"COM5");
    ShowPortsAndMarker();
    Select({ 0 });

    DialogDriver driver({ DialogDriver::ExpectControlThenClick(IDC_PORT_NAME, IDCANCEL) });
    m_main.PortRename();

    const Port port = PortOf(id);
    EXPECT_EQ(port.portName, L"COM5");
    EXPECT_EQ(port.friendlyName, L"Virtual Serial Port (COM5)");
    EXPECT_TRUE(g_restarted.empty());
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{ L"COM5", L"marker" }));
}

TEST_F(PortRenameTest, NameThatDiffersOnlyInCaseIsNotAMatch)
{
    const std::wstring lower = AddPort(L"com5");
    const std::wstring upper = AddPort(L"COM5");
    m_main.PortListRefresh();
    // The lower-case device must come first for the comparison to matter.
    ASSERT_EQ(Rows(), (std::vector<std::wstring>{ L"com5", L"COM5" }));
    Select({ 1 });

    RenameAndPick(L"COM7");

    EXPECT_EQ(PortOf(lower).portName, L"com5");
    EXPECT_EQ(PortOf(upper).portName, L"COM7");
    EXPECT_EQ(g_restarted, std::vector<std::wstring>{ upper });
}

TEST_F(PortRenameTest, OfTwoDevicesWithTheNameOnlyTheFirstIsRenamed)
{
    AddPort(L"COM5");
    AddPort(L"COM5");
    const std::vector<Port> before = PresentPorts();
    ASSERT_EQ(before.size(), 2u);
    m_main.PortListRefresh();
    Select({ 1 });

    RenameAndPick(L"COM7");

    EXPECT_EQ(PortOf(before[0].instanceId).portName, L"COM7");
    EXPECT_EQ(PortOf(before[1].instanceId).portName, L"COM5");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{ L"COM7", L"COM5" }));
}

TEST_F(PortRenameTest, NameThatCannotBeStoredEndsTheSearchSilently)
{
    const std::wstring first = AddPort(L"COM5");
    const std::wstring second = AddPort(L"COM5");
    ShowPortsAndMarker();
    Select({ 0 });
    ScopedSwap keyOpen(SetupApi::Get().SetupDiOpenDevRegKey, &OpenKeyReadOnly);

    RenameAndPick(L"COM7");  // any message box fails the test

    EXPECT_EQ(g_keyOpens, 1);
    for (const std::wstring& id : { first, second }) {
        const Port port = PortOf(id);
        EXPECT_EQ(port.portName, L"COM5");
        EXPECT_EQ(port.friendlyName, L"Virtual Serial Port (COM5)");
    }
    EXPECT_TRUE(g_restarted.empty());
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{ L"COM5", L"COM5", L"marker" }));
}

// A failed restart is reported and the rest of the rename done. Wine cannot
// restart devices: the platform's restart fails with 120. Where 64-bit
// Windows refuses it to a 32-bit process, the package's native devcon
// restarts the device instead, whose driver then records its new name in the
// port database.
TEST_F(PortRenameTest, FailedRestartIsReportedAndTheRenameGoesOn)
{
    struct Case {
        decltype(g_restartDevice) restart;
        DWORD error;
        bool devconRestarts;
    };
    const bool wow64 = TestRunsUnderWow64();
    const Case cases[] = { { &RestartDevice, ERROR_CALL_NOT_IMPLEMENTED, false },
                           { &RestartRefusedUnderWow64, ERROR_IN_WOW64, wow64 } };
    for (const Case& c : cases) {
        const std::wstring id = AddPort(L"COM5");
        ShowPortsAndMarker();
        Select({ 0 });
        ScopedSwap restart(g_restartDevice, c.restart);
        MessageBoxRecorder boxes;

        RenameAndPick(L"COM7");

        if (c.devconRestarts) {
            EXPECT_TRUE(boxes.Boxes().empty());
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, L"ChangeState fails: " + std::to_wstring(static_cast<int>(c.error)) + L"\n");
            EXPECT_EQ(boxes.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            EXPECT_GT(boxes.Boxes()[0].waitCursorCount, 0);
        }
        RegistryKey database;
        wchar_t recorded[16] = {};
        ULONG chars = sizeof(recorded) / sizeof(recorded[0]);
        if (database.Open(HKEY_LOCAL_MACHINE, m_serial.Path(), KEY_READ) == ERROR_SUCCESS)
            database.QueryStringValue(id.c_str(), recorded, &chars);
        EXPECT_EQ(std::wstring(recorded), c.devconRestarts ? L"COM7" : L"");
        ExpectRenamed(id, L"COM7", L"Virtual Serial Port (COM7)");
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(kHardwareId, removed), static_cast<DWORD>(ERROR_SUCCESS));
    }
}

TEST_F(PortRenameTest, SuccessfulRestartRenamesDeviceAndList)
{
    const std::wstring id = AddPort(L"COM5");
    ShowPortsAndMarker();
    Select({ 0 });

    RenameAndPick(L"COM7");

    EXPECT_EQ(g_restarted, std::vector<std::wstring>{ id });
    EXPECT_EQ(g_waitCursorAtRestart, std::vector<int>{ 1 });
    ExpectRenamed(id, L"COM7", L"Virtual Serial Port (COM7)");
}

TEST_F(PortRenameTest, SameNameChosenAgainIsStoredAndTheDeviceRestarted)
{
    const std::wstring id = AddPort(L"COM5");
    const wchar_t stale[] = L"stale";
    ASSERT_NO_FATAL_FAILURE(SetProperty(id, SPDRP_FRIENDLYNAME, stale, sizeof(stale)));
    ShowPortsAndMarker();
    Select({ 0 });

    RenameAndPick(L"COM5");

    EXPECT_EQ(g_restarted, std::vector<std::wstring>{ id });
    ExpectRenamed(id, L"COM5", L"Virtual Serial Port (COM5)");
}

TEST_F(PortRenameTest, DeviceWhoseDescriptionCannotBeReadIsNamedByItsPortAlone)
{
    // Longer than the 100 characters the rename reads.
    const std::wstring longDescription(150, L'D');
    const std::wstring id = AddPort(L"COM5", longDescription.c_str());
    ShowPortsAndMarker();
    Select({ 0 });

    RenameAndPick(L"COM7");

    ExpectRenamed(id, L"COM7", L"COM7");
}

// A description stored without a terminator that fills the 100 characters the
// rename reads: the platform returns it unterminated, and the friendly name
// takes its first 99.
TEST_F(PortRenameTest, DescriptionThatFillsTheBufferIsCutToItsFirst99Characters)
{
    const std::wstring id = AddPort(L"COM5");
    // A character after the 100 keeps RegSetValueExW from counting in a
    // terminator that would follow them in memory.
    const std::wstring description(101, L'D');
    ASSERT_NO_FATAL_FAILURE(SetProperty(id, SPDRP_DEVICEDESC, description.c_str(), 100 * sizeof(wchar_t)));
    ShowPortsAndMarker();
    Select({ 0 });

    RenameAndPick(L"COM7");

    ExpectRenamed(id, L"COM7", (std::wstring(99, L'D') + L" (COM7)").c_str());
}

// The rename with its platform calls failing one at a time, each after the
// dialog has closed: what the device keeps, what the user sees, and whether
// the list is rebuilt. Every call the clean run makes has a row.
struct RenameOutcome {
    std::vector<std::wstring> boxes;
    std::wstring portName;
    std::wstring friendlyName;
    std::vector<std::wstring> rows;
};

struct RenameRow {
    const char* point;
    int failingCall;
    RenameOutcome expected;
};

class PortRenameFaultTest : public PortRenameTest {
protected:

    static const std::vector<FaultPoint>& Points()
    {
        static const std::vector<FaultPoint> points = {
            SETUP_FAULT(SetupDiGetClassDevsW, INVALID_HANDLE_VALUE, ERROR_NOT_ENOUGH_MEMORY),
            SETUP_FAULT(SetupDiEnumDeviceInfo, FALSE, ERROR_NOT_ENOUGH_MEMORY),
            SETUP_FAULT(SetupDiOpenDevRegKey, static_cast<HKEY>(INVALID_HANDLE_VALUE), ERROR_ACCESS_DENIED),
            SETUP_FAULT(SetupDiSetClassInstallParamsW, FALSE, ERROR_INVALID_PARAMETER),
            SETUP_FAULT(SetupDiGetDeviceRegistryPropertyW, FALSE, ERROR_INVALID_DATA),
            SETUP_FAULT(SetupDiSetDeviceRegistryPropertyW, FALSE, ERROR_ACCESS_DENIED),
            IMPORT_FAULT("advapi32.dll", RegQueryValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED),
            IMPORT_FAULT("advapi32.dll", RegSetValueExW, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED),
            SLOT_FAULT(g_restartDevice, FALSE, ERROR_ACCESS_DENIED),
        };
        return points;
    }

    // Renames a fresh COM5 to COM7 with the points injected, each failing its
    // call number failingCall.
    RenameOutcome Rename(const std::vector<const FaultPoint*>& points, int failingCall)
    {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(kHardwareId, removed), static_cast<DWORD>(ERROR_SUCCESS));
        const std::wstring id = AddPort(L"COM5");
        ShowPortsAndMarker();
        Select({ 0 });
        MessageBoxRecorder boxes;
        {
            std::vector<std::shared_ptr<void>> faults;
            for (const FaultPoint* point : points)
                faults.push_back(point->Inject(failingCall));
            ArmedThreads armed(ArmedThreads::ArmLater);
            const DWORD thread = ::GetCurrentThreadId();
            DialogDriver driver({ Pick(L"COM7", [thread] { ArmedThreads::Arm(thread); }) });
            m_main.PortRename();
        }
        EXPECT_EQ(AfxGetApp()->WaitCursorCount(), 0) << "the hourglass stays on";
        RenameOutcome outcome;
        for (const MessageBoxRecorder::Shown& box : boxes.Boxes()) {
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            outcome.boxes.push_back(box.text);
        }
        const Port port = PortOf(id);
        outcome.portName = port.portName;
        outcome.friendlyName = port.friendlyName;
        outcome.rows = Rows();
        return outcome;
    }
};

bool operator==(const RenameOutcome& a, const RenameOutcome& b)
{
    return a.boxes == b.boxes && a.portName == b.portName && a.friendlyName == b.friendlyName && a.rows == b.rows;
}

void PrintTo(const RenameOutcome& outcome, std::ostream* os)
{
    *os << "boxes " << testing::PrintToString(outcome.boxes) << ", PortName "
        << testing::PrintToString(outcome.portName) << ", friendly name "
        << testing::PrintToString(outcome.friendlyName) << ", rows " << testing::PrintToString(outcome.rows);
}

const RenameOutcome kRenamed = { {}, L"COM7", L"Virtual Serial Port (COM7)", { L"COM7" } };
const RenameOutcome kUnchanged = { {}, L"COM5", L"Virtual Serial Port (COM5)", { L"COM5", L"marker" } };

const std::vector<RenameRow> kRenameRows = {
    // A device whose key cannot be opened or read is passed over.
    { "SetupDiGetClassDevsW", 1, kUnchanged },
    { "SetupDiGetClassDevsW", 2, { {}, L"COM7", L"Virtual Serial Port (COM7)", {} } },
    { "SetupDiEnumDeviceInfo", 1, kUnchanged },
    { "SetupDiEnumDeviceInfo", 2, { {}, L"COM7", L"Virtual Serial Port (COM7)", {} } },
    { "SetupDiEnumDeviceInfo", 3, kRenamed },
    { "SetupDiOpenDevRegKey", 1, kUnchanged },
    { "SetupDiOpenDevRegKey", 2, { {}, L"COM7", L"Virtual Serial Port (COM7)", {} } },
    // The restart goes on without its parameters; Wine's is the test's stand-in.
    { "SetupDiSetClassInstallParamsW", 1, kRenamed },
    // No description to read: the new name alone.
    { "SetupDiGetDeviceRegistryPropertyW", 1, { {}, L"COM7", L"COM7", { L"COM7" } } },
    // Not checked: the old friendly name stays.
    { "SetupDiSetDeviceRegistryPropertyW", 1, { {}, L"COM7", L"Virtual Serial Port (COM5)", { L"COM7" } } },
    { "RegQueryValueExW", 1, kUnchanged },
    // The list is rebuilt, without the port whose name cannot be read.
    { "RegQueryValueExW", 2, { {}, L"COM7", L"Virtual Serial Port (COM7)", {} } },
    { "RegSetValueExW", 1, kUnchanged },
    // Reported; the friendly name and the list follow all the same.
    { "g_restartDevice", 1,
      { { L"ChangeState fails: 5\n" }, L"COM7", L"Virtual Serial Port (COM7)", { L"COM7" } } },
};

TEST_F(PortRenameFaultTest, HasARowForEveryCall)
{
    EXPECT_EQ(Rename(AllFaultPoints(Points()), FaultPoint::kNoCall), kRenamed);
    EXPECT_EQ(FaultPointCalls(Points()), CallsWithARow(Points(), kRenameRows));
}

TEST_F(PortRenameFaultTest, EachFailedCallHasItsOutcome)
{
    for (const RenameRow& row : kRenameRows) {
        const std::string what = std::string(row.point) + " call " + std::to_string(row.failingCall);
        const FaultPoint& point = FindFaultPoint(Points(), row.point);
        EXPECT_EQ(Rename({ &point }, row.failingCall), row.expected) << what;
        EXPECT_GE(point.Calls(), row.failingCall) << what << ": the failing call was not made";
    }
}

}
