// The main window's controls: each one's place, style and colours in one table, and the colours
// a label answers with (its own, or the system's while high contrast is on) with the brushes of
// their grounds.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/canvas.hpp"

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

// WM_CTLCOLORSTATIC: a label's text colour and ground, or no ground of its own (transparent).
INT_PTR answerStaticColour(HDC dc, HWND control);
// WM_CTLCOLORDLG: the window's ground.
HBRUSH windowGroundBrush();

// The scheme read and the grounds' brushes made: when the window is built, and again after the
// system's colours or its high-contrast mode changed, when the labels and the window's ground
// are painted anew (the page buttons are the page layer's).
void takeColourScheme();
void followColourScheme(HWND window);
void releaseGroundBrushes();

}  // namespace app
