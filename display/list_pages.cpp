#include "display/list_pages.hpp"

#include <string_view>

#include "display/canvas.hpp"
#include "display/page_frame.hpp"
#include "display/palette.hpp"
#include "events/lists.hpp"

namespace display {
namespace {

constexpr float LeftMargin = 18;
constexpr float TitleTop = 12;
constexpr float BoxLeft = 10;
constexpr float BoxRight = 510;

// What differs between the two pages.
struct ListLayout {
    std::string_view title;
    float boxDepth;           // below the first line
    float dayCountColumn;     // x of the day count
    const char* headingFace;  // nullptr: the lines' own "Courier New"
};

constexpr float DateColumn = 342;

// clang-format off
constexpr ListLayout PhaseLayout{"Die n\xE4" "chsten Mondphasen", 73, 258, nullptr};
constexpr ListLayout EclipseLayout{"Die n\xE4" "chsten Finsternisse", 90, 251, "Times New Roman"};
// clang-format on

template <typename List>
void drawListPage(HWND dialog, int controlId, ListGround ground, const ListLayout& layout,
                  const List& list)
{
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    canvas.setForeground(Black);
    canvas.setBackground(LightBlueGrey);
    canvas.setFont("Courier New", 10, 0);
    if (ground == ListGround::Clear)
        canvas.clear(LightBlueGrey, FillSolid);
    canvas.setForeground(Black);
    canvas.setBackground(ColorNone);

    canvas.setFont("Courier New", 16, FontBold);
    const float titleWidth = canvas.textSize(layout.title).width;
    canvas.moveTo(261 - titleWidth / 2, TitleTop);
    // Drawn over an earlier page, the title gets the page ground under it again: printed
    // transparently over itself, the smoothed edges of its letters would darken every minute.
    if (ground != ListGround::Clear)
        canvas.setBackground(LightBlueGrey);
    canvas.print(layout.title);
    canvas.setBackground(ColorNone);
    canvas.newLine();
    canvas.setFont("Courier New", 10, 0);
    canvas.print("");
    canvas.newLine();

    float y = canvas.position().y;
    const float bottom = y + layout.boxDepth;
    drawShadowedFrame(canvas, BoxLeft, y, BoxRight, bottom);

    canvas.moveTo(LeftMargin, y);
    canvas.setFont("Courier New", 9, 0);
    for (const events::ListEntry& entry : list.entries) {
        if (layout.headingFace != nullptr)
            canvas.setFont(layout.headingFace, 9, 0);
        canvas.print(entry.headingText);
        canvas.newLine();
        if (layout.headingFace != nullptr)
            canvas.setFont("Courier New", 9, 0);
        canvas.moveTo(layout.dayCountColumn, y);
        canvas.print(entry.dayCountText);
        canvas.newLine();
        canvas.moveTo(DateColumn, y);
        canvas.print(entry.dateText);
        canvas.newLine();
        y = canvas.position().y + 2;
        canvas.moveTo(LeftMargin, y);
    }
    canvas.redraw();
}

}  // namespace

void drawPhaseListPageAt(HWND dialog, int controlId, ListGround ground,
                         const astro::SystemTime& reading)
{
    drawListPage(dialog, controlId, ground, PhaseLayout, events::upcomingPhaseList(reading));
}

void drawEclipseListPageAt(HWND dialog, int controlId, ListGround ground,
                           const astro::SystemTime& reading)
{
    drawListPage(dialog, controlId, ground, EclipseLayout, events::upcomingEclipseList(reading));
}

}  // namespace display
