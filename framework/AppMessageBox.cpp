#include "AppMessageBox.h"

#include "ResourceString.h"
#include "WinApp.h"
#include "Wnd.h"

namespace {
MessageBoxHook g_hook = nullptr;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = g_hook;
    g_hook = hook;
    return previous;
}

int AppMessageBox(LPCWSTR text, UINT iconFlag)
{
    const UINT type = MB_OK | iconFlag;
    if (g_hook)
        return g_hook(text, type);
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = CWnd::SafeHwnd(AfxGetMainWnd());
    return ::MessageBoxW(owner, text, app ? app->AppName() : L"", type);
}

int AppMessageBox(UINT stringId, UINT iconFlag)
{
    return AppMessageBox(LoadResourceString(stringId).c_str(), iconFlag);
}
