// The window reopens where the user left it, and minimised if it was closed minimised: place,
// size and state are kept in an INI file beside the executable, section "LvWinPos".
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <string>

namespace app {

// Position of the window's top-left corner on the screen and the size of the whole window, in
// dialog units of the main window; Minimized is the last size state WM_SIZE reported.
struct WindowPlacement {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 0;
    std::int32_t H = 0;
    std::int32_t Minimized = 0;
};

// Called first for every message of the main window: reads the file at WM_INITDIALOG, follows
// the window through WM_EXITSIZEMOVE, WM_SIZE and WM_SYSCOMMAND, writes the file at WM_CLOSE and
// when the session ends (WM_ENDSESSION).
void windowPositionHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the window is to start minimised: asked for at WM_INITDIALOG when the file says it was
// closed minimised. The window is not yet visible then; the message loop shows it so.
bool minimizedStartRequested();

// The placement as the store holds it now, and a fresh start (tests).
WindowPlacement storedPlacement();
void resetWindowPosition();

// The file the store uses for this executable; empty when none can be formed safely (the store
// is then skipped entirely).
std::wstring windowPositionFile();

// Reads the five keys of a file into the placement: a present key sets its field, a missing one
// leaves it. Returns whether any key was present.
bool readPlacement(const std::wstring& file, WindowPlacement& placement);
// Writes the five keys in order (creating the file if needed). Returns whether all were written.
bool writePlacement(const std::wstring& file, const WindowPlacement& placement);

}  // namespace app
