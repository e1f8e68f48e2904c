// What the refresh writes into the main window: the nearest phase's event line and count-down,
// and the lit-fraction gauge.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "astro/system_time.hpp"

namespace events {

// Writes the event line of the phase of the current lunation nearest to now and its count-down;
// when two phases are equally near, everything keeps what it showed.
void showNearestPhase(HWND dialog);
void showNearestPhaseAt(HWND dialog, const astro::SystemTime& now);

// Writes a non-negative duration in days into the four count-down labels and onto the dial.
void showCountdown(HWND dialog, double days);

// The gauge: a yellow bar of round(value * 100 / fullScale) units with the value as text; the
// bar is drawn with R2_NOTXORPEN, so the black text inside it turns blue.
void drawFractionGauge(HWND dialog, int controlId, double value, int fullScale, int unused);

// Geometry of the gauge on a canvas of width x height pixels (exposed for tests).
struct GaugeGeometry {
    int margin;  // m
    int centre;  // c
    int left;
    int top;
    int bottom;
    float pixelsPerUnit;  // u
};
GaugeGeometry gaugeGeometry(int width, int height);

}  // namespace events
