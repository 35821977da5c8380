// What the tests of the install and uninstall commands share.
#pragma once

#include "app/MainDlg.h"
#include "common/PortKind.h"

#include "support/DialogDriver.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScratchTempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The message box a user sees for a string-table entry and an icon flag, with
// the hourglass on or off meanwhile.
MessageBoxRecorder::Shown Box(UINT stringId, UINT iconFlag, bool underWaitCursor);
using Boxes = std::vector<MessageBoxRecorder::Shown>;
bool operator==(const MessageBoxRecorder::Shown& a, const MessageBoxRecorder::Shown& b);
void PrintTo(const MessageBoxRecorder::Shown& box, std::ostream* os);

// The rows of the list: column 0 and column 1 of each.
using ListRows = std::vector<std::pair<std::wstring, std::wstring>>;
ListRows Rows(const CListCtrl& list);

// The main window, created modeless on the test's thread.
class MainWindow {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    CMainDlg& Dialog() { return m_dlg; }
    CListCtrl& List() { return m_dlg.PortList(); }
    // A row that only a refresh of the list takes away.
    void AddSentinelRow(bool selected);

private:
    CMainDlg m_dlg;
};

// A test with a temporary directory of its own and the main window, and with
// no port device of the system before or after it.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScratchTempFolder m_temp;
    std::unique_ptr<MainWindow> m_main;
};

// Answers the port-type dialog with this kind: Ok, after checking its button
// unless the kind is the preselected serial one.
DialogDriver::Action ChoosePortKind(PortKind kind);

// The progress bar positions set (PBM_SETPOS) on the calling thread while the
// object lives, in order.
class ProgressBarRecorder {
public:
    ProgressBarRecorder();
    ~ProgressBarRecorder();
    ProgressBarRecorder(const ProgressBarRecorder&) = delete;
    ProgressBarRecorder& operator=(const ProgressBarRecorder&) = delete;

    const std::vector<int>& Positions() const { return m_positions; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook;
    std::vector<int> m_positions;
};

// Makes the progress dialog's thread creation call another function while it lives.
class ThreadCreation {
public:
    explicit ThreadCreation(decltype(&::CreateThread) replacement);
    ~ThreadCreation();
    ThreadCreation(const ThreadCreation&) = delete;
    ThreadCreation& operator=(const ThreadCreation&) = delete;

    // A thread creation that fails, as when the system is out of resources.
    static HANDLE WINAPI Failing(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
};

// Removes every device of the three hardware IDs the system installs or
// removes, with their port names; what it took away.
std::vector<std::wstring> RemovePortDevices();

// Takes every LPT name in the port database, so that devcon cannot install a
// parallel port, until the object goes.
class ParallelNamesTaken {
public:
    ParallelNamesTaken();
    ~ParallelNamesTaken();
    ParallelNamesTaken(const ParallelNamesTaken&) = delete;
    ParallelNamesTaken& operator=(const ParallelNamesTaken&) = delete;
};
