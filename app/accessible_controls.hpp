// What a screen reader learns of the main window's graphic controls. They are owner-drawn static
// controls, which the platform would report as static text: each answers WM_GETOBJECT with an
// accessible object that says what it is (the page buttons page tabs, "Beenden" a push button,
// the gauge a progress bar, the dials clocks) and leaves names, places and navigation to the
// platform's standard object. The window raises the events a screen reader follows.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string_view>

namespace app {

// What the objects ask of the page buttons, which lie above them: the control the keyboard
// selection is on (the focus a screen reader sees), the control whose page is shown (the
// selected tab), 0 for none; and what a click on a button does.
struct PageTabs {
    int (*focusedControl)();
    int (*selectedControl)();
    void (*click)(HWND dialog, int controlId);
};

// Lets the graphic controls of a freshly built window answer WM_GETOBJECT; forgets the values
// of a window before.
void makeGraphicControlsAccessible(HWND dialog, const PageTabs& tabs);

// The value a screen reader reads of the gauge (its number text) or of the count-down dial (its
// "hh:mm:ss"), as drawn (Windows-1252).
void setAccessibleValue(int controlId, std::string_view text);

// A WinEvent on a control's client object (nothing for an id that is no control).
void raiseControlEvent(HWND dialog, int controlId, DWORD event);

// Called once a second: EVENT_OBJECT_VALUECHANGE on the gauge when its number text differs from
// the one announced last, so a screen reader hears at most one change a second.
void announceGaugeValue(HWND dialog);

}  // namespace app
