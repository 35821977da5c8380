// The process entry point; the application object is a static of the tool.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return AfxWinMain();
}
