// The window object: an HWND with a message map. Controls, dialogs and plain
// windows of the tool derive from it.
#pragma once

#include "MessageMap.h"

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The handle of a window object that may be null.
    static HWND SafeHwnd(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }

    // Binds an existing window (a dialog control) without taking it over.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    // Creates a window of this object; a null class name means the
    // framework's own window class.
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    std::wstring GetWindowText() const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    // Painting off, or on again; a hidden window that is sent this is shown.
    void SetRedraw(BOOL redraw) const { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }
    BOOL Invalidate() const { return ::InvalidateRect(m_hWnd, nullptr, TRUE); }

    HWND m_hWnd = nullptr;

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // Looks the message up in the map chain; false when no entry handles it.
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Runs a message through the map; the base handles nothing of its own.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LPCWSTR RegisterDefaultClass();
};
