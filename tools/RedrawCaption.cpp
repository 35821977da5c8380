// Has the active window draw its caption as active. Under Wine, with no
// window manager, a dialog that comes up by itself is the active window but
// keeps the caption it was first drawn with, an inactive one.
// scripts/start.sh runs it before its screenshot.
#include <windows.h>

#include <cstdio>

int main()
{
    HWND window = ::GetForegroundWindow();
    DWORD_PTR result = 0;
    if (!window || !::SendMessageTimeoutW(window, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, 5000, &result)) {
        std::fprintf(stderr, "redraw_caption: no active window answered\n");
        return 1;
    }
    return 0;
}
