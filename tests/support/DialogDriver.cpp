#include "DialogDriver.h"

#include "WindowInfo.h"

#include <gtest/gtest.h>

namespace {
struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindEnabledDialog(HWND hWnd, LPARAM lParam)
{
    if (WindowClass(hWnd) == L"#32770" && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd)) {
        reinterpret_cast<Search*>(lParam)->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
}

DialogDriver::DialogDriver(std::vector<Action> actions, DWORD timeoutMs)
    : m_watchedThread(::GetCurrentThreadId()), m_actions(std::move(actions)), m_timeoutMs(timeoutMs)
{
    m_thread.Reset(::CreateThread(nullptr, 0, &DialogDriver::ThreadProc, this, 0, nullptr));
}

DialogDriver::~DialogDriver()
{
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
    EXPECT_EQ(m_done, m_actions.size()) << "a dialog the test expected did not open";
}

DWORD WINAPI DialogDriver::ThreadProc(LPVOID param)
{
    static_cast<DialogDriver*>(param)->Run();
    return 0;
}

HWND DialogDriver::WaitForDialog(HWND previous)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < m_timeoutMs) {
        // The dialog answered last must be gone first: its handle may be reused.
        if (!previous || !::IsWindow(previous)) {
            Search search;
            ::EnumThreadWindows(m_watchedThread, &FindEnabledDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                ::Sleep(50);  // let WM_INITDIALOG's work settle
                return search.found;
            }
        }
        ::Sleep(20);
    }
    return nullptr;
}

void DialogDriver::Run()
{
    HWND previous = nullptr;
    for (const Action& action : m_actions) {
        HWND dialog = WaitForDialog(previous);
        if (!dialog)
            return;
        action(dialog);
        ++m_done;
        previous = dialog;
    }
}

DialogDriver::Action DialogDriver::Click(int id)
{
    return [id](HWND dialog) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    };
}

DialogDriver::Action DialogDriver::ExpectControlThenClick(int expectedControl, int id)
{
    return [expectedControl, id](HWND dialog) {
        EXPECT_NE(::GetDlgItem(dialog, expectedControl), nullptr)
            << "the dialog that opened has no control " << expectedControl;
        Click(id)(dialog);
    };
}
