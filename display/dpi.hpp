// The display scale of a window. Everything the program draws is laid out in 96-dpi pixels; at
// another scale s = dpi / 96 it is drawn s times as large. This is where the scale is found out.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace display {

inline constexpr int BaseDpi = 96;

// The DPI of a window: its monitor's on a per-monitor aware Windows 10 (1607 and later) or 11
// (GetDpiForWindow) and on Windows 8.1 and 10 before 1607 (GetDpiForMonitor), else the
// screen's (LOGPIXELSX), which is also what Wine reports.
int windowDpi(HWND window);

// A length of 96-dpi pixels at a DPI: the nearest whole pixel, ties to even.
int scaledLength(int length96, int dpi);

// A font size in points as pixels at a DPI (a point is 1/72 inch): points * dpi / 72, cut to a
// whole pixel. Every font of the window is asked for with this height (lfHeight = -pixels), so a
// label, the heading and the canvases' texts grow alike.
int pointsToPixels(int points, int dpi);

// Tests start windows at another scale than the system's: a DPI above 0 is what windowDpi
// answers for every window from then on; 0 gives the system's answer again. Returns the
// previous override.
int setDpiOverride(int dpi);

}  // namespace display
