// The program's one window, as the entry and the tests see it: built with its controls
// (window_build), run by its polling message loop (message_loop) with its handler (main_dialog),
// laid out at its scale (window_scale) from the table of its controls (control_layout).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "app/control_layout.hpp"
#include "app/main_dialog.hpp"
#include "app/message_loop.hpp"
#include "app/window_build.hpp"
#include "app/window_position.hpp"
#include "app/window_scale.hpp"

namespace app {

// Builds the window with its controls and canvases, runs its modal loop until it is destroyed
// and returns the end code (0).
int createMainWindow();

}  // namespace app
