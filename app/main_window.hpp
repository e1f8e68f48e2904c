// The program's one window: its controls at fixed places, their colours, the heading font and
// the polling modal message loop.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/canvas.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace app {

enum class ControlKind { Label, Graphic };

struct ControlLayout {
    int id;
    ControlKind kind;
    const char* text;  // initial text of a label (Windows-1252)
    short x;           // dialog units
    short y;
    short width;
    short height;
    DWORD style;  // added to WS_CHILD | WS_VISIBLE
    DWORD extendedStyle;
    // A COLORREF, display::ColorDefault (the system colour of the role) or, for the
    // background, display::ColorNone (no background of its own).
    display::Color textColour;
    display::Color backgroundColour;
};

// The controls in creation order.
std::span<const ControlLayout> mainWindowControls();
const ControlLayout* findControlLayout(int id);

// Every text a label other than the heading can show, one after the other (Windows-1252): the
// labels' font must draw each of its characters.
std::string labelTexts();

// The window's size at a DPI: its client area, the 96-dpi layout times the scale, with the frame
// the system draws around it at that DPI. False where the system cannot say (before Windows 10,
// version 1607).
bool windowSizeAtDpi(HWND window, int dpi, SIZE& size);

// Builds the window with its controls and canvases, runs its modal loop until it is destroyed
// and returns the end code (0).
int createMainWindow();

// Builds the window (hidden) with its controls and canvases at the window's display scale,
// without running the loop; tests drive it with runModalLoop or by calling the handler directly.
HWND buildMainWindow();

// After a change of the window's DPI: the window takes the suggested place (if any), then icons,
// fonts, controls and fresh canvases of the new size (the gauge cleared white, the others blank
// until drawn again). The dialog procedure does this for a change that comes before the handler
// is attached; the handler for any later one, and it draws everything again.
void layOutAtNewDpi(HWND window, const RECT* suggested);

// After the system's colours or its high-contrast mode changed: the scheme is read again and the
// labels and the window's ground are painted in it (the page buttons are the page layer's).
void followColourScheme(HWND window);

// Delivers WM_INITDIALOG (which applies the stored place), a WM_DPICHANGED if the window's DPI
// then differs from the one it was laid out at, and WM_SIZE to the handler, attaches it, shows
// the window and polls messages until the window is destroyed.
void runModalLoop(HWND window);

// The loop in its two parts: the start (WM_INITDIALOG, any change of DPI, WM_SIZE, attaching
// the handler, showing the window), and one pass (accelerators, dialog keys, dispatch); false when
// the queue was empty. Tests drive the window with these.
void beginModalLoop(HWND window);
bool pumpOneMessage(HWND window);

// Asked during WM_INITDIALOG: show the window minimised when the loop starts.
void requestMinimizedStart();
bool minimizedStartRequested();

// Sends WM_CLOSE, then destroys the accelerator table and the window.
void endMainWindow(HWND window);

// Releases what buildMainWindow created beside the window (heading font, brushes).
void releaseMainWindowResources();

}  // namespace app
