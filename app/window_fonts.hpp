// The window's fonts: the labels' (with its fallback where the dialog font cannot draw their
// texts) and the heading's, at the window's scale.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// The labels' font and the heading's "Microsoft Sans Serif" 16 pt, at a DPI, given to the
// controls; the fonts they replace go.
void createFonts(HWND dialog, int dpi);

// The fonts go with the window.
void releaseFonts();

}  // namespace app
