// Pictures of windows on the screen, taken by the program that started this
// one (scripts/screenshots.sh): a request line on standard output, then the
// answer on standard input once the picture is saved.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

class ScreenCamera {
public:
    // Repaints the windows and has the smallest rectangle that holds all of
    // them saved as <name>.png, each pixel shown scale times as large. False
    // when the picture was not taken.
    static bool Take(const std::string& name, std::initializer_list<HWND> windows, int scale = 1);
};
