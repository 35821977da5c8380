// The real setup.exe (TAVRIN_SETUP) in a process of its own, with its main
// window found, driven through its windows as a user would.
#pragma once

#include "InstallTestSupport.h"

#include "support/AppDriver.h"

#include <windows.h>

#include <string>

class SetupSession {
public:
    // Starts the program; the child inherits this process's environment, TMP included.
    SetupSession();

    // Started, with its main window up.
    bool Ready() const { return m_app.Started() && m_main != nullptr; }
    AppDriver& App() { return m_app; }
    HWND Main() const { return m_main; }
    HWND List() const { return m_list; }

    // Presses Install and answers the port-type dialog, which must open with
    // the serial port checked, with Ok after checking this port button.
    void Install(int portButton);
    // Selects the first row and presses Uninstall.
    void Uninstall();
    // Waits for the next message box, expects its caption and text, and
    // presses OK; RowsAtBox() then holds the list as it was under the box.
    void Expect(UINT stringId, const char* when);
    void Expect(const std::wstring& text, const char* when);

    ListRows Rows() const;
    const ListRows& RowsAtBox() const { return m_rowsAtBox; }

    // Returns once the user-interface thread is back in the main dialog's
    // message loop, the handler of the last command done; false on timeout.
    bool Settle();

private:
    AppDriver m_app;
    HWND m_main;
    HWND m_list;
    ListRows m_rowsAtBox;
};
