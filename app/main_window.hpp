// The program's one window: its controls at fixed places, their colours, the heading font and
// the polling modal message loop.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/canvas.hpp"

#include <cstdint>
#include <span>

namespace app {

enum class ControlKind { Label, Graphic };

inline constexpr COLORREF Navy = RGB(0, 0, 96);
inline constexpr COLORREF White = RGB(255, 255, 255);
inline constexpr COLORREF LightBlueGrey = RGB(178, 194, 217);
inline constexpr COLORREF HeadingYellow = RGB(196, 196, 0);

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

// lfHeight of the 16-point heading font at a DPI.
LONG headingFontHeight(int logPixelsY);

// Builds the window with its controls and canvases, runs its modal loop until it is destroyed
// and returns the end code (0).
int createMainWindow();

// Builds the window (hidden) with its controls and canvases at the window's display scale,
// without running the loop; tests drive it with runModalLoop or by calling the handler directly.
HWND buildMainWindow();

// After a change of the window's DPI: fonts, controls and fresh canvases of the new size (the
// gauge cleared white, the others blank until drawn again).
void rescaleMainWindow(HWND window);

// Delivers WM_INITDIALOG and WM_SIZE to the handler, attaches it, shows the window and polls
// messages until the window is destroyed.
void runModalLoop(HWND window);

// The loop in its two parts: the start (WM_INITDIALOG, WM_SIZE, attaching the handler, showing
// the window), and one pass (accelerators, dialog keys, dispatch); false when the queue was
// empty. Tests drive the window with these.
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
