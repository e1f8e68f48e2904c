// The window's modal message loop: it polls the queue and sleeps a millisecond when it is empty.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// Delivers WM_INITDIALOG (which applies the stored place), a WM_DPICHANGED if the window's DPI
// then differs from the one it was laid out at, and WM_SIZE to the handler, attaches it, shows
// the window and polls messages until the window is destroyed.
void runModalLoop(HWND window);

// The loop in its two parts: the start (WM_INITDIALOG, any change of DPI, WM_SIZE, attaching
// the handler, showing the window), and one pass (accelerators, dialog keys, dispatch); false when
// the queue was empty. Tests drive the window with these.
void beginModalLoop(HWND window);
bool pumpOneMessage(HWND window);

}  // namespace app
