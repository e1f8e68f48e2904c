// The upper parts of pages two and three of the drawing area: the next four phases and the next
// five eclipses, earliest first, in a white box, one line per event in three columns (heading,
// day count, date).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "astro/system_time.hpp"

namespace events {

// keepGround 0 clears the canvas to the page ground first; 1 draws over what is there (the
// minute update of a page whose information block stays).
void drawPhaseListPage(HWND dialog, int controlId, int keepGround);
void drawEclipseListPage(HWND dialog, int controlId, int keepGround);

// The same for a given local clock reading.
void drawPhaseListPageAt(HWND dialog, int controlId, int keepGround,
                         const astro::SystemTime& reading);
void drawEclipseListPageAt(HWND dialog, int controlId, int keepGround,
                           const astro::SystemTime& reading);

}  // namespace events
