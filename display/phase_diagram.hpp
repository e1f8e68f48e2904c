// The first page of the drawing area, "Die Mondphasen": sunlight from the left, the Earth in the
// centre, the Moon on its orbit in eight places and, on an outer ring, how the Moon looks from
// the Earth in each of them. The page does not depend on the date; the pointer drawn over it
// (display/pointer.hpp) shows where the Moon is now.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <array>
#include <cstddef>
#include <string_view>

namespace display {

// Centre of the Earth and of its label on the page canvas; the pointer turns around it.
inline constexpr int EarthCentreX = 274;
inline constexpr int EarthCentreY = 209;

// The lit edge of a crescent Moon as a table of texts: the column count, the row count, then
// one "0" or "1" per cell, row after row from the top. The crescent pixels of the four diagonal
// discs are set from it (turned and mirrored for each disc).
inline constexpr std::size_t CrescentMaskTexts = 402;
extern const std::array<std::string_view, CrescentMaskTexts> crescentMask;

// The numeric value of a table text: after optional blanks and tabs, the number it starts with
// (events::readLeadingNumber), rounded to an integer and kept within +-1000000; an empty or
// non-numeric text is 0.
long maskNumber(std::string_view text);

// Whether cell (row, column) of the mask is set, both counted from 1, reading the column count
// from the first text of the table; a cell outside the table is not set.
bool crescentCellSet(int row, int column);

// Page canvas set-up at start-up: black text on the page ground, "Courier New" 10 pt, one world
// unit per 96-dpi pixel.
void initPageCanvas(HWND dialog, int controlId);

// Draws the whole page (clearing the canvas first) and shows it.
void drawPhaseDiagramPage(HWND dialog, int controlId);

}  // namespace display
