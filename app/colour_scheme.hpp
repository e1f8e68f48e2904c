// The colours of the window's labels and page buttons. The program has its own (navy ground,
// white and light blue-grey boxes, black text); while Windows' high-contrast mode is on, every
// label and button takes both its colours from the system instead, as the user chose them.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/canvas.hpp"

namespace app {

// Reads again whether high contrast is on and the system's colours: at start and whenever the
// system says they changed (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST).
void refreshColourScheme();

// Whether high contrast was on when last read.
bool highContrast();

// A label's colours. `text` and `background` are its own (display::ColorDefault for the system's
// colour of the role, display::ColorNone for no background); with high contrast on, window text
// on window, a label without a background over the window's ground.
struct LabelColours {
    COLORREF text;
    COLORREF background;
    bool transparent;  // paints no background of its own: the window's ground shows
};
LabelColours labelColours(display::Color text, display::Color background);

// The window's ground: navy, or the system's window colour with high contrast on.
COLORREF windowGround();

// The selected page button's caption at the program's own colours.
inline constexpr COLORREF ButtonSelected = RGB(64, 64, 196);

// A page button's face and caption, normal and under the mouse: light blue-grey with a black
// caption (the selected one's blue-violet, a raised one blue); with high contrast on, button text
// on button face, the selected one highlight text on highlight, a raised caption in its normal
// colour (the one-pixel shift shows it).
struct ButtonColours {
    display::Color face;
    display::Color caption;
    display::Color raised;
};
ButtonColours buttonColours(bool selected);

// What the system answers, replaceable by tests (Wine never reports high contrast): whether high
// contrast is on, and GetSysColor. nullptr gives the system's answer back. Takes effect at the
// next refreshColourScheme.
struct ColourSchemeSource {
    bool (*highContrastOn)();
    COLORREF (*systemColour)(int index);
};
ColourSchemeSource setColourSchemeSource(ColourSchemeSource source);

}  // namespace app
