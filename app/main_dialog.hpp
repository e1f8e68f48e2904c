// The main window's handler: timers, the once-a-second refresh, focus memory and the exit command.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// Handles every message of the main window; never claims one (always returns 0), so the
// default dialog handling follows.
INT_PTR mainDialogCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Ctrl+F2, Enter, Up, Down and Tab as commands.
HACCEL buildAccelerators();

// The table attached to the main window (nullptr before WM_INITDIALOG and after the window ends).
HACCEL mainAccelerators();
void releaseAccelerators();

// Sends WM_CLOSE; the dialog procedure then destroys the accelerator table and the window.
void endMainWindow(HWND window);

// Recomputes the lit fraction, the nearest phase and its count-down, and the page's pointer.
void refreshDisplay(HWND window);

}  // namespace app
