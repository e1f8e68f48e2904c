#include "app/colour_scheme.hpp"

#include "display/palette.hpp"

namespace app {
namespace {

bool systemHighContrast()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != 0 &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF systemColour(int index)
{
    return GetSysColor(index);
}

ColourSchemeSource source{systemHighContrast, systemColour};

// The scheme as last read: the colours of the system's roles the window uses.
struct Scheme {
    bool highContrast = false;
    COLORREF window = RGB(255, 255, 255);
    COLORREF windowText = RGB(0, 0, 0);
    COLORREF buttonFace = RGB(192, 192, 192);
    COLORREF buttonText = RGB(0, 0, 0);
    COLORREF highlight = RGB(0, 0, 128);
    COLORREF highlightText = RGB(255, 255, 255);
};
Scheme scheme;
bool read = false;

const Scheme& current()
{
    if (!read) {
        refreshColourScheme();
    }
    return scheme;
}

display::Color colour(COLORREF value)
{
    return static_cast<display::Color>(value);
}

}  // namespace

void refreshColourScheme()
{
    scheme.highContrast = source.highContrastOn();
    scheme.window = source.systemColour(COLOR_WINDOW);
    scheme.windowText = source.systemColour(COLOR_WINDOWTEXT);
    scheme.buttonFace = source.systemColour(COLOR_BTNFACE);
    scheme.buttonText = source.systemColour(COLOR_BTNTEXT);
    scheme.highlight = source.systemColour(COLOR_HIGHLIGHT);
    scheme.highlightText = source.systemColour(COLOR_HIGHLIGHTTEXT);
    read = true;
}

bool highContrast()
{
    return current().highContrast;
}

LabelColours labelColours(display::Color text, display::Color background)
{
    const Scheme& s = current();
    if (s.highContrast) {
        return {s.windowText, s.window, background == display::ColorNone};
    }
    LabelColours colours{};
    colours.text = text == display::ColorDefault ? s.windowText : static_cast<COLORREF>(text);
    colours.transparent = background == display::ColorNone;
    colours.background = background == display::ColorDefault ? s.buttonFace
                         : colours.transparent               ? windowGround()
                                                             : static_cast<COLORREF>(background);
    return colours;
}

COLORREF windowGround()
{
    const Scheme& s = current();
    return s.highContrast ? s.window : static_cast<COLORREF>(display::NightBlue);
}

ButtonColours buttonColours(bool selected)
{
    const Scheme& s = current();
    if (s.highContrast) {
        const display::Color face = colour(selected ? s.highlight : s.buttonFace);
        const display::Color caption = colour(selected ? s.highlightText : s.buttonText);
        return {face, caption, caption};
    }
    return {display::LightBlueGrey, selected ? colour(ButtonSelected) : display::Black,
            display::Blue};
}

ColourSchemeSource setColourSchemeSource(ColourSchemeSource replacement)
{
    const ColourSchemeSource previous = source;
    source.highContrastOn =
        replacement.highContrastOn != nullptr ? replacement.highContrastOn : systemHighContrast;
    source.systemColour =
        replacement.systemColour != nullptr ? replacement.systemColour : systemColour;
    return previous;
}

}  // namespace app
