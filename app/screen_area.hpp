// Where on the screen the window may stand: within the monitors' work areas (each monitor
// without the taskbar and docked bars), so that its title bar can always be reached.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <span>

namespace app {

// The rectangle moved, its size kept, to lie wholly on the screen. One that lies wholly within
// the work areas together (across monitors too) stays exactly as it is. Any other goes into
// `nearest`, the work area of the monitor nearest to it, by no more than it must; along a side
// where it is larger than that work area, its left or top edge goes to the work area's, so that
// the title bar stays in reach.
RECT whollyOnScreen(const RECT& window, std::span<const RECT> workAreas, const RECT& nearest);

// The same on this system's monitors, the nearest one as MonitorFromRect finds it (with the
// largest overlap, or the closest).
RECT whollyOnThisScreen(const RECT& window);

}  // namespace app
