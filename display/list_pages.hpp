// The upper parts of pages two and three of the drawing area: the next four phases and the next
// five eclipses, earliest first, in a white box, one line per event in three columns (heading,
// day count, date).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "astro/system_time.hpp"

namespace display {

// What a list drawing does with the canvas first.
enum class ListGround : int {
    Clear = 0,  // clears it to the page ground (a page being opened)
    Keep = 1,   // draws over what is there (the minute update of a page whose block stays)
};

// The list of the next phases or eclipses for a local clock reading, with the day counts from it.
void drawPhaseListPageAt(HWND dialog, int controlId, ListGround ground,
                         const astro::SystemTime& reading);
void drawEclipseListPageAt(HWND dialog, int controlId, ListGround ground,
                           const astro::SystemTime& reading);

}  // namespace display
