// The white frame with a grey shadow on its right and bottom edges that the lists and the
// information blocks of pages two and three stand in.
#pragma once

#include "display/canvas.hpp"
#include "display/palette.hpp"

namespace display {

// The frame from (left, textTop - 5) to (right, bottom), outlined in the foreground colour; the
// shadow runs along the bottom edge and up the right edge to textTop - 4.
inline void drawShadowedFrame(Canvas& canvas, float left, float textTop, float right, float bottom)
{
    canvas.box(left, textTop - 5, right, bottom, 0, ColorDefault, White, FillSolid);
    canvas.moveTo(left + 1, bottom);
    canvas.lineTo(right, bottom, ShadowGrey);
    canvas.moveTo(right, textTop - 4);
    canvas.lineTo(right, bottom, ShadowGrey);
}

}  // namespace display
