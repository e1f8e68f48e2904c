// The labels' font: "MS Sans Serif" 8 pt, as the dialog manager makes the template's font, or a
// face of the same size that can draw the labels' texts where that one cannot (on a Cyrillic or
// Greek system the name stands for the raster face of the system's code page, which has no
// umlauts).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/gdi_owner.hpp"

#include <string>

namespace app {

// What GDI tells of a face selected into a device context.
struct FaceFacts {
    bool trueType;       // TMPF_TRUETYPE in tmPitchAndFamily: a TrueType or OpenType face
    int charSet;         // the character set of the face GDI selected (GetTextCharset)
    bool glyphsPresent;  // GetGlyphIndices marked no character of the texts as missing (0xFFFF)
};

// Whether a face draws the texts (Windows-1252 characters), decided by what GDI reports alike on
// every system: the glyph check counts for a TrueType face only, as a raster face answers it for
// a missing character with its default glyph instead of 0xFFFF; a raster face draws the texts
// when it is of their own character set, ANSI_CHARSET.
bool drawsTexts(const FaceFacts& face);

// The facts of a font for the texts (UTF-16).
FaceFacts faceFacts(HFONT font, const std::wstring& texts);

// The first of "MS Sans Serif", "Microsoft Sans Serif", "Tahoma" and "Arial" at 8 pt at the DPI
// that draws every character of the texts; with none, the first.
display::FontOwner createLabelFont(int dpi, const std::wstring& texts);

}  // namespace app
