// The main window built: the dialog from its template with every control, its colours, fonts,
// icons and canvases at the window's scale, and its dialog procedure, which hands every message
// to the handler once the message loop has attached it.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace app {

// Builds the window (hidden) with its controls and canvases at the window's display scale,
// without running the loop; tests drive it with the loop's parts or by calling the handler
// directly.
HWND buildMainWindow();

// From the start of the message loop on, every message of the window reaches the handler first.
void attachHandler(bool attached);

// Releases what buildMainWindow created beside the window (fonts, icons, brushes).
void releaseMainWindowResources();

}  // namespace app
