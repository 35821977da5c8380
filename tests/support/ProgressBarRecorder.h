// The positions set on progress bars (PBM_SETPOS) on the calling thread while
// the object lives, in order.
#pragma once

#include <windows.h>

#include <vector>

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
