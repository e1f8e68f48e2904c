// The page layer of the main window's handler: which page the drawing area shows, the page
// commands, the page part of the refresh, the list timer and the snapshots.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "app/accessible_controls.hpp"

#include <string>

namespace app {

// 0 before the first page has been chosen; 1 phase diagram, 2 Moon data, 3 source.
int currentPage();

// The Moon pointer's last position (events::PointerDivisions of a full turn, 0 up).
int pointerPosition();

// What a screen reader learns of the page buttons: the keyboard selection as the focus, the
// shown page's button as the selected tab, and a default action that clicks.
PageTabs pageTabs();

// Polls the page buttons: done for every message before the handler's own handling.
void pollPageButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_INITDIALOG, before the dials are set up: the buttons' first drawing and the selection of
// page 1 (which posts its command), the page canvas and the phase diagram.
void startPages(HWND window, WPARAM wParam, LPARAM lParam);
// After a change of the display scale (fresh canvases): the buttons and the page shown, drawn
// again.
void rescalePages(HWND window);
// The page buttons drawn afresh, in the colours of the scheme, with the selection they have.
void redrawPageButtons(HWND window);
// WM_INITDIALOG, after the clock and refresh timers.
void startPageTimer(HWND window);
// WM_TIMER of a timer the handler does not own: each minute the list of page 2 or 3 is redrawn
// and the drawing area's text (the shown page as text) is made afresh.
void onPageTimer(HWND window, UINT_PTR timer);
// WM_DESTROY, after the clock and refresh timers.
void stopPageTimer(HWND window);
// WM_COMMAND: page commands and the snapshot.
void onPageCommand(HWND window, int command, int source);
// The page part of the refresh: on page 1 the pointer follows the Moon.
void refreshPage(HWND window);

// Writes the drawing area to "Lunavista_00N.bmp" beside the executable for page N.
void saveDrawingBitmap(HWND window);
std::wstring snapshotPath(int page);

// Tests start each window from the state of a fresh run.
void resetPageState();

}  // namespace app
