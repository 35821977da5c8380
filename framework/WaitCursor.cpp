#include "WaitCursor.h"

#include "WinApp.h"

CWaitCursor::CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->EndWaitCursor();
}
