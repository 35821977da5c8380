#include "ScreenCamera.h"

#include <cstdio>
#include <cstring>

namespace {
const char kTaken[] = "taken";
}

bool ScreenCamera::Take(const std::string& name, std::initializer_list<HWND> windows, int scale)
{
    RECT area = {};
    for (HWND window : windows) {
        // Painted anew by the window's own thread; the script waits until the
        // picture stops changing.
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        RECT rect = {};
        if (!::GetWindowRect(window, &rect))
            return false;
        ::UnionRect(&area, &area, &rect);
    }
    if (::IsRectEmpty(&area))
        return false;
    printf("shot %s %ld %ld %ld %ld %d\n", name.c_str(), area.left, area.top, area.right - area.left,
           area.bottom - area.top, scale);
    fflush(stdout);
    char answer[64] = {};
    return fgets(answer, sizeof(answer), stdin) != nullptr && strncmp(answer, kTaken, sizeof(kTaken) - 1) == 0;
}
