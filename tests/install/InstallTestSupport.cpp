#include "InstallTestSupport.h"

#include "install/WaitDialog.h"
#include "res/resource.h"

#include "framework/ResourceString.h"

#include "PortDevice.h"

#include <gtest/gtest.h>

namespace {
ProgressBarRecorder* g_recorder = nullptr;

const wchar_t* const kTakenParallelNames[] = { L"TavrinTest\\LPT1", L"TavrinTest\\LPT2", L"TavrinTest\\LPT3" };
}

MessageBoxRecorder::Shown Box(UINT stringId, UINT iconFlag, bool underWaitCursor)
{
    return { LoadResourceString(stringId), MB_OK | iconFlag, underWaitCursor ? 1 : 0 };
}

bool operator==(const MessageBoxRecorder::Shown& a, const MessageBoxRecorder::Shown& b)
{
    return a.text == b.text && a.type == b.type && a.waitCursorCount == b.waitCursorCount;
}

void PrintTo(const MessageBoxRecorder::Shown& box, std::ostream* os)
{
    *os << testing::PrintToString(box.text) << " type 0x" << std::hex << box.type << std::dec
        << (box.waitCursorCount ? " under the wait cursor" : "");
}

ListRows Rows(const CListCtrl& list)
{
    ListRows rows;
    for (int row = 0; row < list.GetItemCount(); ++row)
        rows.emplace_back(list.GetItemText(row, 0), list.GetItemText(row, 1));
    return rows;
}

MainWindow::MainWindow()
{
    EXPECT_TRUE(m_dlg.Create());
}

MainWindow::~MainWindow()
{
    m_dlg.DestroyWindow();
}

void MainWindow::AddSentinelRow(bool selected)
{
    const int row = List().InsertItem(List().GetItemCount(), L"SENTINEL");
    if (selected)
        List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void MainWindowTest::SetUp()
{
    RemovePortDevices();
    // Created afterwards, so that its list starts empty.
    m_main = std::make_unique<MainWindow>();
}

void MainWindowTest::TearDown()
{
    m_main.reset();
    RemovePortDevices();
}

DialogDriver::Action ChoosePortKind(PortKind kind)
{
    return [kind](HWND dialog) {
        EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_SERIAL_PORT), BM_GETCHECK, 0, 0), BST_CHECKED)
            << "the serial port is not preselected";
        if (kind != PortKindSerial)
            ::SendMessageW(::GetDlgItem(dialog, IDC_PARALLEL_PORT), BM_CLICK, 0, 0);
        DialogDriver::Click(IDOK)(dialog);
    };
}

ProgressBarRecorder::ProgressBarRecorder()
    : m_hook(::SetWindowsHookExW(WH_CALLWNDPROC, &ProgressBarRecorder::Hook, nullptr, ::GetCurrentThreadId()))
{
    g_recorder = this;
}

ProgressBarRecorder::~ProgressBarRecorder()
{
    ::UnhookWindowsHookEx(m_hook);
    g_recorder = nullptr;
}

LRESULT CALLBACK ProgressBarRecorder::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_recorder && sent->message == PBM_SETPOS)
        g_recorder->m_positions.push_back(static_cast<int>(sent->wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

ThreadCreation::ThreadCreation(decltype(&::CreateThread) replacement)
{
    CWaitDialog::s_createThread = replacement;
}

ThreadCreation::~ThreadCreation()
{
    CWaitDialog::s_createThread = &::CreateThread;
}

HANDLE WINAPI ThreadCreation::Failing(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

std::vector<std::wstring> RemovePortDevices()
{
    std::vector<std::wstring> names;
    for (const wchar_t* id : { kSerialPortHardwareId, kParallelPortHardwareId, kOldVersionHardwareId }) {
        std::vector<PortDevice::Removed> removed;
        EXPECT_EQ(PortDevice::RemoveByHardwareId(id, removed), static_cast<DWORD>(ERROR_SUCCESS));
        for (const PortDevice::Removed& device : removed)
            names.push_back(device.portName);
    }
    return names;
}

ParallelNamesTaken::ParallelNamesTaken()
{
    const wchar_t* const names[] = { L"LPT1", L"LPT2", L"LPT3" };
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i) {
        EXPECT_EQ(PortDevice::RecordPortName(PortDevice::Kind::Parallel, kTakenParallelNames[i], names[i]),
                  static_cast<DWORD>(ERROR_SUCCESS));
    }
}

ParallelNamesTaken::~ParallelNamesTaken()
{
    for (const wchar_t* value : kTakenParallelNames)
        PortDevice::ForgetPortName(value);
}
