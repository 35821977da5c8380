#include "AppMessageBox.h"

#include "ResourceString.h"
#include "WinApp.h"
#include "Wnd.h"

decltype(&::MessageBoxW) g_messageBox = &::MessageBoxW;

int AppMessageBox(LPCWSTR text, UINT iconFlag)
{
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = CWnd::SafeHwnd(AfxGetMainWnd());
    return g_messageBox(owner, text, app ? app->AppName() : L"", MB_OK | iconFlag);
}

int AppMessageBox(UINT stringId, UINT iconFlag)
{
    return AppMessageBox(LoadResourceString(stringId).c_str(), iconFlag);
}
