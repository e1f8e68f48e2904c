// The lit-fraction gauge: a narrow canvas with a yellow bar and the percentage as text.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace display {

// The gauge canvas: its font and a scale of one unit per pixel.
void initGaugeCanvas(HWND dialog, int controlId);

// The gauge: a yellow bar of round(value * 100 / fullScale) units with the value as text; the
// bar is drawn with R2_NOTXORPEN, so the black text inside it turns blue.
void drawFractionGauge(HWND dialog, int controlId, double value, int fullScale);

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

}  // namespace display
