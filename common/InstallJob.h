// What the Install command hands to the progress dialog and through it to the
// install worker. Complete before the worker starts, read-only afterwards.
#pragma once

#include "PortKind.h"

#include <windows.h>

struct InstallJob {
    // The locked driver package; not owned.
    const BYTE* pData;
    DWORD cbData;
    PortKind nPortKind;
    // The progress dialog, which receives ProgressMessage; filled in by the dialog.
    HWND hNotifyWnd;
};
