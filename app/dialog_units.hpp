// Dialog units of the main window and pixels, both ways.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// Dialog units to pixels with the window's own dialog font (MapDialogRect).
int dialogUnitsToPixelsX(HWND window, int units);
int dialogUnitsToPixelsY(HWND window, int units);

// Pixels to dialog units by the window's scale: MapDialogRect of 1024 units gives the pixel
// extent px of 1024 units, and a pixel value p becomes floor(p * 1024 / px).
int pixelsToDialogUnitsX(HWND window, int pixels);
int pixelsToDialogUnitsY(HWND window, int pixels);

// floor(p * 1024 / px) without overflow for any 32-bit p (px > 0).
int scaleToDialogUnits(int pixels, int pixelsPer1024Units);

}  // namespace app
