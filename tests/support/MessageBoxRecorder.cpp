#include "MessageBoxRecorder.h"

#include "framework/WinApp.h"

#include <gtest/gtest.h>

namespace {
MessageBoxRecorder* g_current = nullptr;
}

MessageBoxRecorder::MessageBoxRecorder(Mode mode, Observer observer)
    : m_mode(mode),
      m_observer(std::move(observer)),
      m_hook(g_messageBox, &MessageBoxRecorder::Hook),
      m_previous(g_current)
{
    g_current = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    g_current = m_previous;
}

int WINAPI MessageBoxRecorder::Hook(HWND, LPCWSTR text, LPCWSTR, UINT type)
{
    if (g_current->m_mode == FailOnUse)
        ADD_FAILURE() << "unexpected message box: " << testing::PrintToString(std::wstring(text));
    g_current->m_shown.push_back({ text, type, AfxGetApp() ? AfxGetApp()->WaitCursorCount() : 0 });
    if (g_current->m_observer)
        g_current->m_observer(g_current->m_shown.back());
    return IDOK;
}
