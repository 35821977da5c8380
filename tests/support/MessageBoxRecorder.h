// Records the application's message boxes instead of showing them.
#pragma once

#include "ScopedSwap.h"

#include "framework/AppMessageBox.h"

#include <functional>
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

    // Runs when a box is shown, before it is answered: what the user sees meanwhile.
    using Observer = std::function<void(const Shown&)>;

    explicit MessageBoxRecorder(Mode mode = Record, Observer observer = Observer());
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<Shown>& Boxes() const { return m_shown; }

private:
    static int WINAPI Hook(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

    Mode m_mode;
    Observer m_observer;
    std::vector<Shown> m_shown;
    ScopedSwap<decltype(g_messageBox)> m_hook;
    MessageBoxRecorder* m_previous;
};
