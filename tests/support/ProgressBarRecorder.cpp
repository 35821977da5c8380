#include "ProgressBarRecorder.h"

#include <commctrl.h>

namespace {
ProgressBarRecorder* g_recorder = nullptr;
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
