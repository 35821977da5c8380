#include "WinApp.h"

#include "DllSearch.h"
#include "common/TraceLog.h"

#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;

std::wstring ExecutableBaseName()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}
}

CWinApp::CWinApp() : m_appName(ExecutableBaseName())
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return FALSE;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

void CWinApp::BeginWaitCursor()
{
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (m_waitCursorCount++ == 0)
        m_restoreCursor = previous;
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCursorCount == 0)
        return;
    if (--m_waitCursorCount == 0)
        ::SetCursor(m_restoreCursor ? m_restoreCursor : ::LoadCursorW(nullptr, IDC_ARROW));
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain()
{
    // Before anything can load a DLL.
    RestrictDllSearch();

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    try {
        app->InitInstance();
    } catch (...) {
        TraceLog(L"exception in the application's start\n");
        return 1;
    }
    return 0;
}
