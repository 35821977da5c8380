// Answers the modal dialogs that the test's own thread opens, from a thread of
// its own: each queued action is applied, in order, to the next new enabled
// dialog window of the watched thread.
#pragma once

#include "framework/UniqueResource.h"

#include <windows.h>

#include <functional>
#include <vector>

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    // Watches the calling thread. The actions run on the driver's thread, so
    // they talk to the dialog through messages.
    explicit DialogDriver(std::vector<Action> actions, DWORD timeoutMs = 20000);
    // Waits for the driver's thread; a dialog that never came fails the test.
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Common actions.
    static Action Click(int id);
    // Checks the dialog's template by one of its control ids, then clicks.
    static Action ExpectControlThenClick(int expectedControl, int id);

private:
    static DWORD WINAPI ThreadProc(LPVOID param);
    void Run();
    HWND WaitForDialog(HWND previous);

    DWORD m_watchedThread;
    std::vector<Action> m_actions;
    DWORD m_timeoutMs;
    size_t m_done = 0;
    UniqueHandle m_thread;
};
