// Starts a program of ours as a separate process and drives its windows from
// outside, as a user would: finds its dialogs and message boxes, clicks
// buttons, reads and selects list rows. Waits end after a timeout with a null
// result rather than hang the test; a program that still runs after a wait
// for it timed out has its threads' stacks printed (by Wine's debugger, where
// there is one) before it is ended.
#pragma once

#include "RemoteBuffer.h"

#include "framework/UniqueResource.h"

#include <windows.h>

#include <optional>
#include <string>

class AppDriver {
public:
    // Starts the program; the child inherits this process's environment.
    // Waits look for their window every pollMs milliseconds.
    explicit AppDriver(const std::wstring& program, DWORD timeoutMs = 30000, DWORD pollMs = 50);
    // Ends the program if it still runs.
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    bool Started() const { return m_process.IsValid(); }
    DWORD ProcessId() const { return m_processId; }

    // A top-level window of the program with this class name, shown or not;
    // null when it has none.
    HWND FindWindowOfClass(const wchar_t* className) const;

    // A visible, enabled dialog of the program that holds a control with this id.
    HWND WaitForDialog(int controlId) const;

    struct MessageBoxWindow {
        HWND window = nullptr;
        std::wstring caption;
        std::wstring text;
    };
    // The message box the program shows next: a dialog captioned with the
    // program's name, its text in the static control 0xFFFF.
    MessageBoxWindow WaitForMessageBox() const;
    // Presses OK and waits until the box has gone.
    bool CloseMessageBox(const MessageBoxWindow& box) const;

    // A top-level window's caption, read without sending it a message.
    static std::wstring Caption(HWND window);

    static void Click(HWND dialog, int controlId);
    static bool IsChecked(HWND dialog, int controlId);

    // List-view rows; the text and the item state travel through memory of the program.
    static int ItemCount(HWND list);
    std::wstring ItemText(HWND list, int item, int subItem) const;
    bool SelectItem(HWND list, int item) const;

    // Combo-box items; the system carries their text between the processes.
    static int ComboCount(HWND combo);
    static std::wstring ComboText(HWND combo, int item);
    static bool SelectComboItem(HWND combo, int item);

    // Closes the window as its close box would and waits for the program to
    // end; its exit code, or STILL_ACTIVE when it did not end.
    DWORD Close(HWND mainWindow);

private:
    template <typename Predicate>
    HWND WaitForWindow(Predicate matches) const;

    std::wstring m_name;  // the executable's base name, the caption of its message boxes
    UniqueHandle m_process;
    DWORD m_processId = 0;
    // Allocated once, at the start; its calls end within the time-out.
    std::optional<RemoteBuffer> m_remote;
    DWORD m_timeoutMs;
    DWORD m_pollMs;
    mutable bool m_timedOut = false;
};
