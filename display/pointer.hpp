// The Moon pointer on the phase diagram page: a dark-red arrow between the Earth and the ring of
// Moon discs, pointing where the Moon stands in its cycle. It is moved by painting its previous
// image over in the page ground and drawing the new one, so the diagram itself is never redrawn
// for it.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <array>

#include "display/canvas.hpp"

namespace display {

// Draws the pointer at `position` divisions of a full turn (0 up, a quarter turn to the right,
// clockwise on the screen) after erasing the one drawn by the previous call. A position whose
// magnitude reaches `divisions` is drawn as 0, and 0 is written back. With no divisions (zero or
// negative) there is no direction to point in: the position becomes 0 and nothing is drawn.
void drawPhasePointer(HWND dialog, int controlId, int& position, int& divisions);

// Forgets the position drawn last (a fresh run starts at 0), for tests that start from a fresh
// page.
void resetPhasePointer();

// The pointer's outline for a position, in page pixels: the arrowhead (base, tip, base) and the
// shaft from the tip back to the Earth's edge. Its length ends 35 pixels from the centre and the
// line is drawn without its end pixel.
struct PointerShape {
    std::array<PointF, 3> head;
    PointF shaftStart;
    PointF shaftEnd;
};
PointerShape phasePointerShape(float position, int divisions);

}  // namespace display
