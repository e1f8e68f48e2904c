// The information blocks below the lists of pages two and three: "Monddaten", a boxed table of
// facts about the Moon, and "Quelle", the book the algorithms come from and the credit lines,
// two of which work as a web link and a mail link.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "display/canvas.hpp"

namespace display {

// A text of at most Capacity bytes, kept with its length and a terminating zero. Longer texts
// are cut; nothing is ever written past the end.
template <std::size_t Capacity>
class BoundedText {
public:
    static constexpr std::size_t capacity = Capacity;

    void assign(std::string_view text)
    {
        length_ = std::min(text.size(), Capacity);
        std::copy_n(text.data(), length_, bytes_.data());
        bytes_[length_] = '\0';
    }
    std::string_view view() const
    {
        return {bytes_.data(), length_};
    }
    const char* c_str() const
    {
        return bytes_.data();
    }
    std::size_t length() const
    {
        return length_;
    }

private:
    std::array<char, Capacity + 1> bytes_{};
    std::size_t length_ = 0;
};

// Where a link's text stands on its canvas and how it is drawn. The colours and the font of the
// web link serve both links; the mail link adds the address a new mail goes to.
struct LinkArea {
    int controlId = 0;
    // The text's rectangle in canvas pixels.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Color normalText = 0;
    Color normalBackground = 0;
    Color raisedText = 0;        // under the mouse
    Color raisedBackground = 0;  // under the mouse
    BoundedText<64> fontFace;
    int fontSize = 0;
    int fontStyle = 0;
    BoundedText<260> text;         // as shown; for the web link the address itself
    BoundedText<260> mailAddress;  // mail link only
};

// The two link records of the source block, window-wide: zero at start, filled by
// drawSourcePage.
LinkArea& webLink();
LinkArea& mailLink();
// Back to the state of a fresh run.
void resetLinkAreas();

// The credit lines of the source block after the line naming the translated homepage.
inline constexpr std::string_view HomepageLine = "https://www.example.org/mondphasen/";
inline constexpr std::string_view AuthorLine =
    "Autor der Homepage: Lunavista-Team <lunavista@example.org>";
inline constexpr std::string_view AuthorMailAddress = "lunavista@example.org";
inline constexpr std::string_view ProgramLine =
    "Umsetzung als Windows-Programm in C++: Lunavista-Team";

// "Monddaten" below the list of the next phases; the canvas is not cleared.
void drawMoonDataPage(HWND dialog, int controlId);

// "Quelle" below the list of the next eclipses; the canvas is not cleared. Fills webLink and
// mailLink with the rectangles of the web address and the author line.
void drawSourcePage(HWND dialog, int controlId);

// The two blocks as lines of text for a screen reader, in reading order, from the tables the
// drawing uses: the title, then the Moon data rows as label, TAB and value (a raised exponent
// after "^": "2,199 * 10^10 km^3"), or the source lines without the ruler of hyphens.
std::vector<std::string> moonDataLines();
std::vector<std::string> sourceLines();

}  // namespace display
