// Collects what the process writes to the debugger output while it lives,
// from any thread, by watching the exception that OutputDebugString raises.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Each output call's text, in order.
    std::vector<std::wstring> Lines() const;

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);
    void Add(std::wstring text, bool wide);

    PVOID m_handler;
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::wstring> m_lines;
    bool m_lastWasWide = false;
};
