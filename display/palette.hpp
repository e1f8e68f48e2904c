// The program's named colours: the window, its labels and buttons, the dials and the pages share
// them, so each colour has one name here.
#pragma once

#include "display/canvas.hpp"

namespace display {

inline constexpr Color Black = static_cast<Color>(RGB(0, 0, 0));
inline constexpr Color White = static_cast<Color>(RGB(255, 255, 255));
inline constexpr Color ShadowGrey = static_cast<Color>(RGB(128, 128, 128));
inline constexpr Color Blue = static_cast<Color>(RGB(0, 0, 255));
inline constexpr Color Yellow = static_cast<Color>(RGB(255, 255, 0));
// The window's ground and the dials' faces.
inline constexpr Color NightBlue = static_cast<Color>(RGB(0, 0, 96));
// The Earth's night half on the phase diagram.
inline constexpr Color Navy = static_cast<Color>(RGB(0, 0, 128));
// The pages' ground, the page buttons' face and the unit labels' ground.
inline constexpr Color LightBlueGrey = static_cast<Color>(RGB(178, 194, 217));
inline constexpr Color HeadingYellow = static_cast<Color>(RGB(196, 196, 0));

}  // namespace display
