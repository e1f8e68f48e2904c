// The colours the pages of the drawing area share.
#pragma once

#include "display/canvas.hpp"

namespace display {

inline constexpr Color PageGround = static_cast<Color>(RGB(178, 194, 217));
inline constexpr Color Black = static_cast<Color>(RGB(0, 0, 0));
inline constexpr Color White = static_cast<Color>(RGB(255, 255, 255));
inline constexpr Color ShadowGrey = static_cast<Color>(RGB(128, 128, 128));
inline constexpr Color Blue = static_cast<Color>(RGB(0, 0, 255));
inline constexpr Color Yellow = static_cast<Color>(RGB(255, 255, 0));

}  // namespace display
