// The four owner-drawn buttons on the right edge of the main window: three open the pages of the
// drawing area, one ends the program. They light up under the mouse, show which page is
// selected, and answer the mouse and the keys Up, Down, Tab and Enter (through accelerators).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "app/colour_scheme.hpp"
#include "app/control_place.hpp"

#include <string_view>

namespace app {

// Requests passed to a button and to the dispatcher.
enum class ButtonRequest : int {
    Poll = 0,             // react to the current mouse message only
    Select = 1,           // becomes the selected button
    Deselect = 2,         // drawn as not selected
    ExitClicked = 501,    // the exit button was clicked (dispatcher)
    FirstDrawing = 1000,  // face, font and scale at start-up
};

// How the keys move the selection.
enum class NavMode : int {
    Normal = 0,           // Up and Down move between the page buttons
    ExitReached = 1,      // Tab jumped to the exit button; Tab again jumps back
    EndingConfirmed = 2,  // Enter on the exit button (or a click on it): the program ends
};

// Number of page buttons; position 4 (PageButtonCount + 1) is the exit button.
inline constexpr int PageButtonCount = 3;

// One button (position 1..4 in dispatch order: phases, data, source, exit). Returns the button's
// id when the message is a left-button release inside it, otherwise 0.
int pageButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int position,
               ButtonRequest request);

// Polls all buttons (button id 0, request ButtonRequest::Poll), or carries out a request for one
// button. May post WM_COMMAND with a button id to the window. Returns 0.
int pageButtonDispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int buttonId,
                         ButtonRequest request);

// What a click on a button does, for a caller other than the mouse (a screen reader's default
// action): the button becomes the selected one and its command is posted, as for the mouse.
void clickPageButton(HWND window, int buttonId);

// The button at a position (1..4 in dispatch order: pages 1..3, then the exit button); 0 for
// any other position.
int pageButtonAt(int position);

// The caption a button shows (Windows-1252), which is also its name for a screen reader; empty
// for an id that is no button.
std::string_view pageButtonCaption(int buttonId);

// Window-wide state, for tests and for the start of a run.
struct PageButtonState {
    int hover[4];
    int selected[4];
    int buttonSelection;
    NavMode buttonNavMode;
    int buttonSelectionSaved;
    int buttonSelectionChanged;
};
PageButtonState pageButtonState();
void resetPageButtons();

}  // namespace app
