// Dialog units of the main window and pixels, both ways, at the window's display scale.
//
// A dialog unit is a quarter of the dialog font's average character width across and an eighth
// of its height down ("MS Sans Serif" 8 pt: 6 x 13 pixels at 96 dpi). The window is laid out in
// the pixels the units give at 96 dpi, and those are scaled to the window's DPI, so that every
// control is the 96-dpi one, s times as large (the font's own metrics do not grow exactly with
// it). At 96 dpi this is exactly MapDialogRect.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

struct BaseUnits {
    int x;  // pixels per 4 horizontal units
    int y;  // pixels per 8 vertical units
};

// The dialog font's base units at 96 dpi: 6 x 13 pixels, what the dialog manager measures for
// "MS Sans Serif" 8 pt there (the average width of the 52 Latin letters, and the cell height).
BaseUnits dialogBaseUnitsAt96();

// Dialog units to pixels at a DPI, and at the window's DPI.
int dialogUnitsToPixelsX(int units, int dpi);
int dialogUnitsToPixelsY(int units, int dpi);
int dialogUnitsToPixelsX(HWND window, int units);
int dialogUnitsToPixelsY(HWND window, int units);

// A dialog-unit rectangle in pixels at the window's DPI, or at a given one: its 96-dpi corner
// and size each scaled to the nearest pixel, so that a control of w x h pixels at 96 dpi is
// round(w s) x round(h s).
RECT dialogUnitsToPixels(HWND window, int x, int y, int width, int height);
RECT dialogUnitsToPixels(int x, int y, int width, int height, int dpi);

// Pixels to dialog units by the window's scale: the pixel extent px of 1024 units, and a pixel
// value p becomes floor(p * 1024 / px).
int pixelsToDialogUnitsX(int pixels, int dpi);
int pixelsToDialogUnitsY(int pixels, int dpi);
int pixelsToDialogUnitsX(HWND window, int pixels);
int pixelsToDialogUnitsY(HWND window, int pixels);

// floor(p * 1024 / px) without overflow for any 32-bit p (px > 0).
int scaleToDialogUnits(int pixels, int pixelsPer1024Units);

}  // namespace app
