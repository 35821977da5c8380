// Test entry: an application object as the tool has one, common controls
// registered, and no message box ever left waiting on the screen.
#include "MessageBoxRecorder.h"

#include "framework/WinApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
CWinApp g_testApp;
}

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    testing::InitGoogleTest(&argc, argv);
    // A test that did not expect a message box fails instead of hanging.
    MessageBoxRecorder unexpected(MessageBoxRecorder::FailOnUse);
    return RUN_ALL_TESTS();
}
