// Records the application's message boxes instead of showing them.
#pragma once

#include "framework/AppMessageBox.h"

#include <string>
#include <vector>

class MessageBoxRecorder {
public:
    enum Mode { Record, FailOnUse };
    struct Shown {
        std::wstring text;
        UINT type;
        // The application's wait-cursor count while the box was up.
        int waitCursorCount;
    };

    explicit MessageBoxRecorder(Mode mode = Record);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<Shown>& Boxes() const { return m_shown; }

private:
    static int Hook(LPCWSTR text, UINT type);

    Mode m_mode;
    std::vector<Shown> m_shown;
    MessageBoxHook m_previousHook;
    MessageBoxRecorder* m_previous;
};
