// Where a control stands as the mouse handling of the buttons and links sees it, and whether a
// mouse message's point falls on it.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// A control's rectangle in the window's client area as the buttons and links see it: read as
// dialog units and converted back to pixels, so it can differ by rounding from the true one.
struct ControlPlace {
    int left;
    int top;
    int width;
    int height;
};
ControlPlace controlPlace(HWND window, int controlId);

// Whether the mouse point of a message (low and high word of lParam, unsigned) lies in the
// rectangle, all bounds inclusive.
bool pointInside(LPARAM lParam, int left, int top, int width, int height);

}  // namespace app
