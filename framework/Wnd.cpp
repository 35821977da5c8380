#include "Wnd.h"

#include "common/TraceLog.h"

namespace {
const wchar_t kDefaultClassName[] = L"TavrinWnd";
}

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = { MessageMapEntry() };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd::~CWnd() = default;

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

bool CWnd::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->kind != MessageMapEntry::End; ++e) {
            if (e->message != message)
                continue;
            switch (e->kind) {
            case MessageMapEntry::Command:
                // Button clicks and menu commands only, not other notifications.
                if (LOWORD(wParam) != e->id || HIWORD(wParam) != BN_CLICKED)
                    continue;
                (this->*e->onVoid)();
                result = 0;
                return true;
            case MessageMapEntry::Message:
                result = (this->*e->onMessage)(wParam, lParam);
                return true;
            case MessageMapEntry::VoidMessage:
                (this->*e->onVoid)();
                result = 0;
                return true;
            case MessageMapEntry::TimerMessage:
                (this->*e->onTimer)(static_cast<UINT_PTR>(wParam));
                result = 0;
                return true;
            case MessageMapEntry::End:
                break;
            }
        }
    }
    return false;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return DispatchMessageMap(message, wParam, lParam, result);
}

LPCWSTR CWnd::RegisterDefaultClass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, kDefaultClassName, &wc))
        return kDefaultClassName;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &CWnd::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kDefaultClassName;
    ::RegisterClassExW(&wc);
    return kDefaultClassName;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id)
{
    if (!className)
        className = RegisterDefaultClass();
    HWND hWnd = ::CreateWindowExW(0, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top,
                                  SafeHwnd(parent),
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), this);
    // A window of another class (a control) never saw our window procedure.
    if (hWnd && !m_hWnd)
        m_hWnd = hWnd;
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        wnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(wnd));
        if (wnd)
            wnd->m_hWnd = hWnd;
    }
    if (!wnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = wnd->OnWndMsg(message, wParam, lParam, result);
    } catch (...) {
        TraceLog(L"exception in the window procedure, message %u\n", message);
        handled = false;
    }
    if (!handled)
        result = ::DefWindowProcW(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        wnd->m_hWnd = nullptr;
    }
    return result;
}
