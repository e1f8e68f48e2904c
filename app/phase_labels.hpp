// What the refresh writes into the window's labels: the event line of the nearest principal
// phase and its count-down (the four labels and the count-down dial).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "astro/system_time.hpp"

#include <string>

namespace app {

// Writes the event line of the phase of the current lunation nearest to now and its count-down;
// when two phases are equally near, everything keeps what it showed.
void showNearestPhase(HWND dialog);
void showNearestPhaseAt(HWND dialog, const astro::SystemTime& now);

// Writes a non-negative duration in days into the four count-down labels and onto the dial.
void showCountdown(HWND dialog, double days);

}  // namespace app
