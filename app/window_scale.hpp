// The window at its display scale: every control at its 96-dpi place times the scale, the window
// around them, and everything laid out again when the scale changes.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

struct ControlLayout;

// The DPI the window was last laid out at; set when it is built at its first one.
int layoutDpi();
void setLayoutDpi(int dpi);

// A per-monitor aware Windows 10 (1703 and later) would move, resize and refont the dialog and
// its controls itself when the scale changes: the window lays itself out instead (at exactly the
// 96-dpi layout times the scale). For the dialog, and for each control as it is made (the
// dialog's setting does not cover the controls' fonts). Both looked up at run time: systems
// before that version lack them.
void keepDialogManagerFromRescaling(HWND dialog);
void keepDialogManagerFromRefontingControl(HWND control);

// The window's client area: 457 x 328 dialog units, 686 x 533 pixels at 96 dpi, scaled; the
// window keeps its centre.
void fitWindowToScale(HWND dialog, int dpi);

// A control at its place; a graphic control's client area (its canvas) has the place's size,
// with any border outside it: the drawing area is then 522 x 400 pixels at 96 dpi.
void placeControl(HWND dialog, HWND control, const ControlLayout& layout);

// The gauge's canvas: black on white, cleared.
void prepareGaugeCanvas(HWND dialog);

// The window's size at a DPI: its client area, the 96-dpi layout times the scale, with the frame
// the system draws around it at that DPI. False where the system cannot say (before Windows 10,
// version 1607).
bool windowSizeAtDpi(HWND window, int dpi, SIZE& size);

// After a change of the window's DPI: the window takes the suggested place (if any), then icons,
// fonts, controls and fresh canvases of the new size (the gauge cleared white, the others blank
// until drawn again). The dialog procedure does this for a change that comes before the handler
// is attached; the handler for any later one, and it draws everything again.
void layOutAtNewDpi(HWND window, const RECT* suggested);

}  // namespace app
