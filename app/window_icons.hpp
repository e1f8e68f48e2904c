// The window's icons: the moon at the sizes the title bar and the taskbar ask for at the window's
// scale.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// The title bar's and the taskbar's icons at a DPI; the ones they replace go.
void setIcons(HWND dialog, int dpi);

// The icons go with the window.
void releaseIcons();

}  // namespace app
