// The main window's in-memory dialog template.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace app {

struct DialogTemplateFields {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    short x = 0;  // dialog units
    short y = 0;
    short width = 0;
    short height = 0;
    std::string_view caption;   // Windows-1252
    WORD fontPoints = 0;        // with DS_SETFONT
    std::string_view fontFace;  // Windows-1252
};

// A DLGTEMPLATE without items: header, no menu, the standard dialog class, the caption and, when
// the style has DS_SETFONT, the font. The buffer starts DWORD-aligned (std::vector's allocation).
std::vector<BYTE> buildDialogTemplate(const DialogTemplateFields& layout);

// The main window's client area in dialog units.
inline constexpr short MainWindowWidthUnits = 457;
inline constexpr short MainWindowHeightUnits = 328;

// The template of the main window: " Lunavista", 457 x 328 dialog units, centred, fixed size,
// "MS Sans Serif" 8 pt.
std::vector<BYTE> buildMainWindowTemplate();

}  // namespace app
