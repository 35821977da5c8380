// The application object: runs the main dialog once, then lets the process end.
#pragma once

#include "framework/WinApp.h"

class CSetupApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
