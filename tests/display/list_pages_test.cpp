// The list pages drawn into a real 522 x 400 canvas for fixed clock readings: title, box with
// shadow, and the three columns of every line where they belong; drawing over a page and the
// information blocks below the lists.
#include "display/list_pages.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "display/canvas.hpp"
#include "display/info_blocks.hpp"
#include "events/lists.hpp"
#include "tests/display/canvas_test_support.hpp"
#include "tests/display/page_test_support.hpp"

namespace display {
namespace {

using test::Courier10;
using test::Courier16Bold;
using test::Courier9;
using test::Font;
using test::Snapshot;

constexpr COLORREF Ground = RGB(178, 194, 217);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF Red = RGB(255, 0, 0);

constexpr Font Times9{"Times New Roman", 9, 0};

astro::SystemTime reading(int year, int month, int day, int hour, int minute)
{
    return astro::wallClockReading(year, month, day, hour, minute);
}

// One list layout as the page shows it.
struct Layout {
    std::string_view title;
    int boxDepth;
    int dayCountColumn;
    Font headingFont;
};
// clang-format off
const Layout PhasePage{"Die n\xE4" "chsten Mondphasen", 73, 258, Courier9};
const Layout EclipsePage{"Die n\xE4" "chsten Finsternisse", 90, 251, Times9};
// clang-format on

class ListPageTest : public test::PageCanvasTest {
protected:
    void SetUp() override
    {
        PageCanvasTest::SetUp();
        Canvas& canvas = attachCanvas(dialog(), PageId, false);
        canvas.setScale(0, 0, PageWidth, PageHeight);
        // Something that is not the page ground, to see what the drawing clears.
        canvas.clear(rgb(255, 0, 0));
    }

    // Top of the first list line: the title line and one blank 10-pt line below y = 12.
    int firstLine()
    {
        return 12 + lineHeight(Courier16Bold) + lineHeight(Courier10);
    }

    template <typename List>
    void expectPage(const Snapshot& shot, const Layout& layout, const List& list)
    {
        const float titleWidth = measure(Courier16Bold, layout.title).width;
        EXPECT_TRUE(showsText(shot, Courier16Bold, 261 - titleWidth / 2, 12, layout.title));

        // White box with a black outline from (10, y - 5) to (510, y + depth), right and bottom
        // edges exclusive; a grey shadow along its bottom (from x = 11) and its right side (from
        // y - 4), neither reaching the corner.
        const int y = firstLine();
        const int bottom = y + layout.boxDepth;
        EXPECT_EQ(shot.at(10, y - 5), Black);
        EXPECT_EQ(shot.at(509, y - 5), Black);
        EXPECT_EQ(shot.at(10, bottom - 1), Black);
        EXPECT_EQ(shot.at(509, bottom - 1), Black);
        EXPECT_EQ(shot.at(11, y - 4), White);
        EXPECT_EQ(shot.at(508, bottom - 2), White);
        EXPECT_EQ(shot.at(11, bottom), Grey);
        EXPECT_EQ(shot.at(509, bottom), Grey);
        EXPECT_EQ(shot.at(510, y - 4), Grey);
        EXPECT_EQ(shot.at(510, bottom - 1), Grey);
        EXPECT_NE(shot.at(10, bottom), Grey);
        EXPECT_NE(shot.at(510, bottom), Grey);
        EXPECT_NE(shot.at(510, y - 5), Grey);

        // One line per event, one 9-pt line height plus 2 pixels apart, in three columns.
        const int step = lineHeight(Courier9) + 2;
        int row = y;
        for (const events::ListEntry& entry : list.entries) {
            const auto top = static_cast<float>(row);
            EXPECT_TRUE(showsText(shot, layout.headingFont, 18, top, entry.headingText));
            EXPECT_TRUE(showsText(shot, Courier9, static_cast<float>(layout.dayCountColumn), top,
                                  entry.dayCountText));
            EXPECT_TRUE(showsText(shot, Courier9, 342, top, entry.dateText));
            EXPECT_LE(18 + measure(layout.headingFont, entry.headingText).width,
                      static_cast<float>(layout.dayCountColumn))
                << "the heading leaves the day count free: " << entry.headingText;
            row += step;
        }
        // Below the last line the box is empty.
        for (int py = row; py < bottom - 1; ++py)
            for (int px = 11; px < 509; ++px)
                ASSERT_EQ(shot.at(px, py), White) << px << "," << py;
    }
};

TEST_F(ListPageTest, PhasePageListsTheNextFourPhasesInTheirBox)
{
    const astro::SystemTime now = reading(2025, 3, 5, 12, 0);
    drawPhaseListPageAt(dialog(), PageId, ListGround::Clear, now);
    const Snapshot shot = page();
    EXPECT_EQ(shot.at(3, 3), Ground) << "cleared to the page ground";
    EXPECT_EQ(test::countColor(shot, Red), 0);
    const events::PhaseList list = events::upcomingPhaseList(now);
    // 6 March 2025 brings the First Quarter: it heads the list.
    EXPECT_EQ(list.entries[0].heading,
              "Das n\xE4"
              "chste Erste Viertel");
    expectPage(shot, PhasePage, list);
    EXPECT_EQ(test::screenSnapshotOf(window.control(PageId)), shot) << "shown at the end";
}

TEST_F(ListPageTest, EclipsePageListsTheNextFiveEclipsesWithSerifHeadings)
{
    const astro::SystemTime now = reading(2025, 3, 5, 12, 0);
    drawEclipseListPageAt(dialog(), PageId, ListGround::Clear, now);
    const Snapshot shot = page();
    EXPECT_EQ(shot.at(3, 3), Ground);
    const events::EclipseList list = events::upcomingEclipseList(now);
    EXPECT_EQ(list.entries.size(), 5u);
    expectPage(shot, EclipsePage, list);
}

TEST_F(ListPageTest, KeepGroundDrawsOverWhatIsThere)
{
    const astro::SystemTime now = reading(2025, 7, 20, 8, 30);
    drawPhaseListPageAt(dialog(), PageId, ListGround::Keep, now);
    const Snapshot shot = page();
    EXPECT_EQ(shot.at(3, 3), Red) << "not cleared";
    EXPECT_EQ(shot.at(3, 300), Red);
    expectPage(shot, PhasePage, events::upcomingPhaseList(now));

    drawEclipseListPageAt(dialog(), PageId, ListGround::Keep, now);
    EXPECT_EQ(page().at(3, 3), Red);
}

// The minute update draws the list over the page of an earlier minute: the box covers every old
// text, the title is not darkened by printing it again and the block below stays, so the page
// is the one a fresh drawing gives.
TEST_F(ListPageTest, RedrawingOverAnOlderListLeavesNoTrace)
{
    struct Case {
        bool eclipses;
        astro::SystemTime before;
        astro::SystemTime after;
    };
    const Case cases[] = {
        {false, reading(2025, 3, 5, 12, 0), reading(2025, 3, 6, 23, 59)},
        // The New Moon of the morning drops out of the list at midnight.
        {false, reading(2025, 3, 29, 9, 0), reading(2025, 3, 30, 0, 0)},
        {true, reading(2025, 3, 5, 12, 0), reading(2025, 9, 8, 0, 1)},
    };
    for (const Case& c : cases) {
        const auto drawList = [&](const astro::SystemTime& at, ListGround ground) {
            if (c.eclipses) {
                drawEclipseListPageAt(dialog(), PageId, ground, at);
            } else {
                drawPhaseListPageAt(dialog(), PageId, ground, at);
            }
        };
        const auto drawBlock = [&] {
            if (c.eclipses) {
                drawSourcePage(dialog(), PageId);
            } else {
                drawMoonDataPage(dialog(), PageId);
            }
        };
        drawList(c.after, ListGround::Clear);
        drawBlock();
        const Snapshot fresh = page();

        drawList(c.before, ListGround::Clear);
        drawBlock();
        const Snapshot older = page();
        drawList(c.after, ListGround::Keep);
        EXPECT_EQ(page(), fresh) << c.after.wDay << "." << c.after.wMonth;
        EXPECT_NE(older, fresh) << "the readings give different lists";
    }
}

TEST_F(ListPageTest, InformationBlocksLeaveTheListAbove)
{
    const astro::SystemTime now = reading(2025, 12, 31, 23, 0);
    drawPhaseListPageAt(dialog(), PageId, ListGround::Clear, now);
    const Snapshot list = page();
    drawMoonDataPage(dialog(), PageId);
    const Snapshot withBlock = page();
    for (int y = 0; y < 145; ++y)
        for (int x = 0; x < PageWidth; ++x)
            ASSERT_EQ(withBlock.at(x, y), list.at(x, y)) << x << "," << y;
    EXPECT_NE(withBlock, list);

    drawEclipseListPageAt(dialog(), PageId, ListGround::Clear, now);
    const Snapshot eclipses = page();
    drawSourcePage(dialog(), PageId);
    const Snapshot withSource = page();
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < PageWidth; ++x)
            ASSERT_EQ(withSource.at(x, y), eclipses.at(x, y)) << x << "," << y;
    EXPECT_NE(withSource, eclipses);
}

}  // namespace
}  // namespace display
