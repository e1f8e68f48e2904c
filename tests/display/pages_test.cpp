// The pages of the drawing area drawn into a real 522 x 400 canvas: the phase diagram, the Moon
// pointer over it, and the two information blocks with their link records. Texts are checked
// against the same text laid out alone on a second canvas, so the checks hold for whatever
// metrics the installed faces have.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>

#include "display/canvas.hpp"
#include "display/info_blocks.hpp"
#include "display/phase_diagram.hpp"
#include "display/pointer.hpp"
#include "tests/display/canvas_test_support.hpp"
#include "tests/display/page_test_support.hpp"

namespace display {
namespace {

using test::Courier10;
using test::Courier16Bold;
using test::Courier9;
using test::Font;
using test::nearestPixel;
using test::Snapshot;
using test::snapshotOf;

constexpr COLORREF Ground = RGB(178, 194, 217);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF PointerRed = RGB(192, 0, 0);

constexpr double Pi = std::numbers::pi;

constexpr Font SansSerif9{"Microsoft Sans Serif", 9, 0};

class PageTest : public test::PageCanvasTest {
protected:
    void SetUp() override
    {
        PageCanvasTest::SetUp();
        initPageCanvas(window.window(), PageId);
        resetPhasePointer();
        resetLinkAreas();
    }
};

// ---------------------------------------------------------------------------------------------
// The phase diagram

class PhaseDiagramTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        drawPhaseDiagramPage(dialog(), PageId);
        diagram = page();
    }
    Snapshot diagram;
};

TEST_F(PhaseDiagramTest, SunlightIsTwentyNineArrowsTheLastAtThreeHundredFifty)
{
    int shafts = 0;
    int lastShaft = -1;
    for (int y = 0; y < PageHeight; ++y) {
        if (diagram.at(20, y) == Yellow) {
            ++shafts;
            lastShaft = y;
            EXPECT_EQ((y - 70) % 10, 0) << "shaft at y = " << y;
        }
    }
    EXPECT_EQ(shafts, 29);
    EXPECT_EQ(lastShaft, 350);

    // Each arrow: the shaft row from x = 10 to the point at 34, and four rows above and below
    // that end one pixel earlier each; nothing else in the column is yellow.
    int arrowPixels = 0;
    for (int y = 0; y < PageHeight; ++y)
        for (int x = 0; x < 40; ++x)
            arrowPixels += diagram.at(x, y) == Yellow ? 1 : 0;
    EXPECT_EQ(arrowPixels, 29 * (25 + 2 * (4 + 3 + 2 + 1)));
    for (int y = 70; y <= 350; y += 10) {
        EXPECT_EQ(diagram.at(10, y), Yellow) << y;
        EXPECT_EQ(diagram.at(9, y), Ground) << y;
        EXPECT_EQ(diagram.at(34, y), Yellow) << y;
        EXPECT_EQ(diagram.at(35, y), Ground) << y;
        EXPECT_EQ(diagram.at(33, y - 1), Yellow) << y;
        EXPECT_EQ(diagram.at(34, y - 1), Ground) << y;
        EXPECT_EQ(diagram.at(30, y + 4), Yellow) << y;
        EXPECT_EQ(diagram.at(31, y + 4), Ground) << y;
        EXPECT_EQ(diagram.at(30, y + 5), Ground) << y;
    }
}

TEST_F(PhaseDiagramTest, EarthIsLitBlueOnTheLeftAndNavyOnTheRight)
{
    EXPECT_EQ(diagram.at(250, 190), Blue);
    EXPECT_EQ(diagram.at(250, 230), Blue);
    EXPECT_EQ(diagram.at(300, 190), Navy);
    EXPECT_EQ(diagram.at(300, 230), Navy);
    EXPECT_EQ(diagram.at(240, 209), Black);  // outline at the left edge
    EXPECT_EQ(diagram.at(239, 209), Ground);
    EXPECT_EQ(diagram.at(275, 180), Black);  // the line between the halves
    EXPECT_EQ(diagram.at(275, 174), Ground);
    EXPECT_EQ(diagram.at(310, 209), Ground);
}

TEST_F(PhaseDiagramTest, EarthLabelIsCentredOnThePointerCentre)
{
    const SizeF size = measure(Courier10, "ERDE");
    const float x = 274 - size.width / 2;
    const float y = 209 - size.height / 2;
    EXPECT_TRUE(showsText(diagram, Courier10, x, y, "ERDE", Yellow));
    EXPECT_LE(std::fabs(nearestPixel(static_cast<double>(x)) + size.width / 2 - 274), 0.5f);
    EXPECT_LE(std::fabs(nearestPixel(static_cast<double>(y)) + size.height / 2 - 209), 0.5f);
}

TEST_F(PhaseDiagramTest, TitleAndPhaseNames)
{
    EXPECT_TRUE(showsText(diagram, Courier16Bold, 180, 2, "Die Mondphasen"));
    EXPECT_TRUE(showsText(diagram, Courier10, 212, 25, "Letztes Viertel"));
    EXPECT_TRUE(showsText(diagram, Courier10, 45, 203, "Neumond"));
    EXPECT_TRUE(showsText(diagram, Courier10, 445, 203, "Vollmond"));
    EXPECT_TRUE(showsText(diagram, Courier10, 222, 380, "Erstes Viertel"));
}

TEST_F(PhaseDiagramTest, MoonDiscsAreLitFromTheLeft)
{
    struct Disc {
        int x, y;
    };
    // The eight places on the orbit and the half Moons at the top and bottom of the outer ring.
    const Disc halfLit[] = {{176, 114}, {354, 114}, {265, 75},  {176, 286}, {354, 286},
                            {265, 325}, {140, 200}, {389, 200}, {265, 45},  {265, 355}};
    for (const Disc& d : halfLit) {
        EXPECT_EQ(diagram.at(d.x + 4, d.y + 10), Yellow) << d.x << "," << d.y;
        EXPECT_EQ(diagram.at(d.x + 15, d.y + 10), Black) << d.x << "," << d.y;
        // The lit half ends at x + 9; the dark half's outline runs down x + 10.
        EXPECT_EQ(diagram.at(d.x + 9, d.y + 10), Yellow) << d.x << "," << d.y;
        EXPECT_EQ(diagram.at(d.x + 10, d.y + 10), Black) << d.x << "," << d.y;
        EXPECT_EQ(diagram.at(d.x - 1, d.y + 10), Ground) << d.x << "," << d.y;
        EXPECT_EQ(diagram.at(d.x + 20, d.y + 10), Ground) << d.x << "," << d.y;
    }
    struct Full {
        int x, y;
        COLORREF colour;
    };
    // New and Full Moon on the outer ring, then the diagonal discs under their crescents.
    const Full full[] = {{419, 200, Yellow}, {110, 200, Black},  {375, 93, Yellow},
                         {155, 93, Black},   {375, 307, Yellow}, {155, 307, Black}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(diagram.at(full[i].x, full[i].y + 10), full[i].colour) << full[i].x;
        EXPECT_EQ(diagram.at(full[i].x + 19, full[i].y + 10), full[i].colour) << full[i].x;
    }
    for (const Full& f : full) {
        EXPECT_EQ(diagram.at(f.x + 10, f.y + 10), f.colour) << f.x << "," << f.y;
        EXPECT_EQ(diagram.at(f.x - 1, f.y + 10), Ground) << f.x << "," << f.y;
        EXPECT_EQ(diagram.at(f.x + 20, f.y + 10), Ground) << f.x << "," << f.y;
        EXPECT_EQ(diagram.at(f.x + 1, f.y + 1), Ground) << "round, not square " << f.x;
    }
}

TEST(CrescentMask, IsTwentyByTwentyCellsOfZeroOrOne)
{
    ASSERT_EQ(crescentMask.size(), 402u);
    EXPECT_EQ(maskNumber(crescentMask[0]), 20);
    EXPECT_EQ(maskNumber(crescentMask[1]), 20);
    int set = 0;
    for (std::size_t i = 2; i < crescentMask.size(); ++i) {
        EXPECT_TRUE(crescentMask[i] == "0" || crescentMask[i] == "1") << i;
        set += crescentMask[i] == "1" ? 1 : 0;
    }
    EXPECT_EQ(set, 83);
    // Row 1 is 00000011111110000000, row 20 is 00001100000000000000.
    EXPECT_FALSE(crescentCellSet(1, 6));
    EXPECT_TRUE(crescentCellSet(1, 7));
    EXPECT_TRUE(crescentCellSet(1, 13));
    EXPECT_FALSE(crescentCellSet(1, 14));
    EXPECT_TRUE(crescentCellSet(20, 5));
    EXPECT_TRUE(crescentCellSet(20, 6));
    EXPECT_FALSE(crescentCellSet(20, 7));
    // Outside the table nothing is set, and nothing is read past its end.
    EXPECT_FALSE(crescentCellSet(0, 7));
    EXPECT_FALSE(crescentCellSet(1, 0));
    EXPECT_FALSE(crescentCellSet(1, 21));
    EXPECT_FALSE(crescentCellSet(21, 1));
    EXPECT_FALSE(crescentCellSet(1000000, 1));
}

TEST(CrescentMask, NumbersAreReadLikeALenientNumericParser)
{
    struct Case {
        const char* text;
        long value;
    };
    const Case cases[] = {{"1", 1},
                          {"0", 0},
                          {"20", 20},
                          {" 1", 1},
                          {"1x", 1},
                          {"", 0},
                          {"x1", 0},
                          {"-1", -1},
                          {"+2", 2},
                          {"01", 1},
                          {"99999999999999", 1000000}};
    for (const Case& c : cases)
        EXPECT_EQ(maskNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(PhaseDiagramTest, CrescentsStayInsideTheirDiscsMirroredAndTurned)
{
    // Lit cells on the dark discs, dark cells on the lit ones: as many as the mask has cells.
    struct Area {
        int left, top;
        COLORREF cellColour;
    };
    const Area areas[] = {
        {155, 93, Yellow}, {155, 307, Yellow}, {375, 93, Black}, {375, 307, Black}};
    for (const Area& a : areas) {
        int cells = 0;
        for (int y = 0; y < PageHeight; ++y) {
            for (int x = 0; x < PageWidth; ++x) {
                const bool inside = x >= a.left && x < a.left + 20 && y >= a.top && y < a.top + 20;
                if (diagram.at(x, y) == a.cellColour && inside)
                    ++cells;
            }
        }
        EXPECT_EQ(cells, 83) << a.left << "," << a.top;
    }
    for (int y = 93; y <= 112; ++y) {
        for (int x = 155; x <= 174; ++x) {
            const bool lit = diagram.at(x, y) == Yellow;
            // The lower crescent is the upper one turned over, the gibbous discs on the right
            // are the crescents mirrored left-right in the other colour.
            EXPECT_EQ(diagram.at(x, 419 - y) == Yellow, lit) << x << "," << y;
            EXPECT_EQ(diagram.at(549 - x, y) == Black, lit) << x << "," << y;
            EXPECT_EQ(diagram.at(549 - x, 419 - y) == Black, lit) << x << "," << y;
        }
    }
    // The crescents light the side facing the Sun: the upper left disc's bottom row holds the
    // mask's first row, cells 7 to 13.
    for (int x = 155; x <= 174; ++x)
        EXPECT_EQ(diagram.at(x, 112) == Yellow, x >= 161 && x <= 167) << x;
    EXPECT_EQ(diagram.at(155, 103), Yellow);  // the lit left edge
    EXPECT_EQ(diagram.at(172, 103), Black);
}

TEST_F(PhaseDiagramTest, OrbitIsEightBlueArcsBetweenTheDiscs)
{
    const auto blueNear = [&](double turns, double radius, int within) {
        const double cx = 275;  // centre of the box (150, 85)-(400, 335)
        const double cy = 210;
        const int x = nearestPixel(cx + radius * std::cos(2 * Pi * turns));
        const int y = nearestPixel(cy - radius * std::sin(2 * Pi * turns));
        for (int dy = -within; dy <= within; ++dy)
            for (int dx = -within; dx <= within; ++dx)
                if (diagram.at(x + dx, y + dy) == Blue)
                    return true;
        return false;
    };
    const double middles[] = {0.0615, 0.186, 0.315, 0.4395, 0.561, 0.6855, 0.8145, 0.9395};
    for (double m : middles)
        EXPECT_TRUE(blueNear(m, 125, 1)) << m;
    // The gaps hold the discs, not orbit.
    const double gaps[] = {0.0, 0.125, 0.25, 0.375, 0.5, 0.625, 0.75, 0.875};
    for (double g : gaps)
        EXPECT_FALSE(blueNear(g, 125, 2)) << g;

    // The sense of the orbit: black arcs on the wider circle with triangles at their ends.
    EXPECT_EQ(diagram.at(125, 168), Black);
    EXPECT_EQ(diagram.at(424, 251), Black);
    const auto blackNear = [&](double turns) {
        const int x = nearestPixel(275 + 155 * std::cos(2 * Pi * turns));
        const int y = nearestPixel(210 - 155 * std::sin(2 * Pi * turns));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (diagram.at(x + dx, y + dy) == Black)
                    return true;
        return false;
    };
    EXPECT_TRUE(blackNear(0.44));
    EXPECT_TRUE(blackNear(0.94));
    EXPECT_FALSE(blackNear(0.19));
    EXPECT_FALSE(blackNear(0.69));
}

TEST_F(PhaseDiagramTest, DrawingAgainGivesTheSameImageWithoutAPointer)
{
    drawPhaseDiagramPage(dialog(), PageId);
    EXPECT_EQ(page(), diagram);

    int position = 40;
    int divisions = 128;
    drawPhasePointer(dialog(), PageId, position, divisions);
    EXPECT_GT(test::countColor(page(), PointerRed), 0);
    drawPhaseDiagramPage(dialog(), PageId);
    EXPECT_EQ(page(), diagram) << "the pointer is not part of the page";
}

// ---------------------------------------------------------------------------------------------
// The Moon pointer

TEST(PointerShape, PointsFromTheEarthTowardsItsPositionClockwiseFromTheTop)
{
    struct Case {
        float position;
        double dx, dy;  // unit direction on the screen (y down)
    };
    const Case cases[] = {
        {0, 0, -1},   // up: Last Quarter
        {32, 1, 0},   // right: Full Moon
        {64, 0, 1},   // down: First Quarter
        {96, -1, 0},  // left: New Moon
        {16, std::sqrt(0.5), -std::sqrt(0.5)},
        {-32, -1, 0},  // negative positions turn the other way
    };
    for (const Case& c : cases) {
        const PointerShape s = phasePointerShape(c.position, 128);
        const PointF tip = s.head[1];
        EXPECT_NEAR(tip.x, 274 + 110 * c.dx, 1e-3) << c.position;
        EXPECT_NEAR(tip.y, 209 + 110 * c.dy, 1e-3) << c.position;
        EXPECT_EQ(s.shaftStart.x, tip.x);
        EXPECT_EQ(s.shaftStart.y, tip.y);
        EXPECT_NEAR(s.shaftEnd.x, 274 + 35 * c.dx, 1e-3) << c.position;
        EXPECT_NEAR(s.shaftEnd.y, 209 + 35 * c.dy, 1e-3) << c.position;
        // The base of the head: 98 pixels out, one 128th of a turn either side of the tip.
        for (const PointF& base : {s.head[0], s.head[2]}) {
            const double bx = static_cast<double>(base.x) - 274;
            const double by = static_cast<double>(base.y) - 209;
            EXPECT_NEAR(std::hypot(bx, by), 98, 1e-3) << c.position;
            EXPECT_NEAR(std::acos((bx * c.dx + by * c.dy) / 98) * 180 / Pi, 360.0 / 128, 1e-3)
                << c.position;
        }
    }
    // Base 1 lies counter-clockwise of the tip (a smaller position), base 2 clockwise.
    const PointerShape up = phasePointerShape(0, 128);
    EXPECT_LT(up.head[0].x, 274);
    EXPECT_GT(up.head[2].x, 274);
}

class PointerTest : public PhaseDiagramTest {
protected:
    Snapshot pointAt(int position)
    {
        int divisions = 128;
        drawPhasePointer(dialog(), PageId, position, divisions);
        return page();
    }
    Snapshot freshPageWithPointerAt(int position)
    {
        drawPhaseDiagramPage(dialog(), PageId);
        resetPhasePointer();
        return pointAt(position);
    }
};

// Red pixels lie along the ray from the Earth's edge to the tip, and nowhere else.
TEST_F(PointerTest, StandsAtTheAngleOfItsPosition)
{
    struct Case {
        int position;
        double dx, dy;
    };
    const Case cases[] = {
        {64, 0, 1}, {0, 0, -1}, {32, 1, 0}, {96, -1, 0}, {80, -std::sqrt(0.5), std::sqrt(0.5)}};
    for (const Case& c : cases) {
        const Snapshot shot = freshPageWithPointerAt(c.position);
        for (int r = 37; r <= 108; ++r) {
            const int x = nearestPixel(274 + r * c.dx);
            const int y = nearestPixel(209 + r * c.dy);
            bool red = false;
            for (int d = -1; d <= 1 && !red; ++d)
                red = shot.at(x + d, y) == PointerRed || shot.at(x, y + d) == PointerRed;
            EXPECT_TRUE(red) << "position " << c.position << " radius " << r;
        }
        int elsewhere = 0;
        int headWidth = 0;
        for (int y = 0; y < PageHeight; ++y) {
            for (int x = 0; x < PageWidth; ++x) {
                if (shot.at(x, y) != PointerRed)
                    continue;
                const double px = x - 274.0;
                const double py = y - 209.0;
                const double along = px * c.dx + py * c.dy;
                const double across = std::fabs(-px * c.dy + py * c.dx);
                if (along < 34 || along > 111.5 || across > 6.5)
                    ++elsewhere;
                if (along > 96 && along < 100)
                    headWidth = std::max(headWidth, static_cast<int>(across));
            }
        }
        EXPECT_EQ(elsewhere, 0) << "position " << c.position;
        EXPECT_GE(headWidth, 4) << "an arrowhead, not just a line, at " << c.position;
        EXPECT_EQ(shot.at(3, 3), Ground);
    }
}

TEST_F(PointerTest, MovingErasesTheOldPointerExactly)
{
    struct Move {
        int from, to;
    };
    // Waxing (left through down to right), waning (right through up to left), and across 0.
    const Move moves[] = {{96, 80}, {64, 33}, {32, 10}, {127, 0}, {0, 1}, {10, 120}};
    for (const Move& m : moves) {
        const Snapshot direct = freshPageWithPointerAt(m.to);
        freshPageWithPointerAt(m.from);
        EXPECT_EQ(pointAt(m.to), direct) << m.from << " -> " << m.to;
    }
    // The same position twice: the pointer stays as it is.
    const Snapshot once = freshPageWithPointerAt(50);
    EXPECT_EQ(pointAt(50), once);
}

// Erasing paints the page ground over the old pointer, which is only sound while the pointer
// never lies on anything else of the diagram: the Earth, the label, discs and orbit.
TEST_F(PointerTest, EveryPositionCoversOnlyThePageGround)
{
    for (int p = 0; p < 128; ++p) {
        const Snapshot shot = freshPageWithPointerAt(p);
        int covered = 0;
        for (std::size_t i = 0; i < shot.pixels.size(); ++i)
            if (shot.pixels[i] != diagram.pixels[i] && diagram.pixels[i] != Ground)
                ++covered;
        EXPECT_EQ(covered, 0) << "position " << p;
    }
}

TEST_F(PointerTest, FullTurnsAndBeyondAreDrawnAsZeroAndWrittenBack)
{
    const Snapshot up = freshPageWithPointerAt(0);
    struct Case {
        int given;
        int written;
    };
    const Case cases[] = {{128, 0}, {-128, 0}, {500, 0}, {INT_MIN, 0}, {127, 127}, {-5, -5}};
    for (const Case& c : cases) {
        drawPhaseDiagramPage(dialog(), PageId);
        resetPhasePointer();
        int position = c.given;
        int divisions = 128;
        drawPhasePointer(dialog(), PageId, position, divisions);
        EXPECT_EQ(position, c.written) << c.given;
        EXPECT_EQ(divisions, 128);
        if (c.written == 0) {
            EXPECT_EQ(page(), up) << c.given;
        }
    }
    // -5 points where 123 does.
    EXPECT_EQ(freshPageWithPointerAt(-5), freshPageWithPointerAt(123));
}

TEST_F(PointerTest, WithoutDivisionsNothingIsDrawn)
{
    int position = 5;
    int divisions = 0;
    drawPhasePointer(dialog(), PageId, position, divisions);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(page(), diagram);
}

// ---------------------------------------------------------------------------------------------
// The information blocks

class InfoBlockTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        // The list above would have left the page ground.
        attachCanvas(dialog(), PageId, true).clear(rgb(178, 194, 217));
    }
    // Top of the first line inside the frame of a block whose title stands at `titleTop`.
    int firstLine(int titleTop)
    {
        return titleTop + lineHeight(Courier16Bold) + lineHeight(Courier10);
    }

    // Frame from (left, py - 5) to (right, py + depth) with its shadow one pixel outside.
    void expectFrame(const Snapshot& shot, int left, int right, int py, int depth)
    {
        const int bottom = py + depth;
        EXPECT_EQ(shot.at(left, py - 5), Black);
        EXPECT_EQ(shot.at(right - 1, py - 5), Black);
        EXPECT_EQ(shot.at(left, bottom - 1), Black);
        EXPECT_EQ(shot.at(right - 1, bottom - 1), Black);
        EXPECT_EQ(shot.at(left - 1, py), Ground);
        EXPECT_EQ(shot.at(left + 2, py - 6), Ground);
        EXPECT_EQ(shot.at(left + 1, py - 4), White);
        EXPECT_EQ(shot.at(right - 2, bottom - 2), White);
        // Shadow: the bottom line from left + 1, the right line from py - 4, neither reaching
        // the corner pixel (right, bottom).
        EXPECT_EQ(shot.at(left, bottom), Ground);
        EXPECT_EQ(shot.at(left + 1, bottom), Grey);
        EXPECT_EQ(shot.at(right - 1, bottom), Grey);
        EXPECT_EQ(shot.at(right, bottom), Ground);
        EXPECT_EQ(shot.at(right, py - 5), Ground);
        EXPECT_EQ(shot.at(right, py - 4), Grey);
        EXPECT_EQ(shot.at(right, bottom - 1), Grey);
        EXPECT_EQ(shot.at(right + 1, py), Ground);
        EXPECT_EQ(shot.at(left + 1, bottom + 1), Ground);
    }
};

TEST_F(InfoBlockTest, MoonDataFrameAndTitle)
{
    drawMoonDataPage(dialog(), PageId);
    const Snapshot shot = page();
    const float titleWidth = measure(Courier16Bold, "Monddaten").width;
    EXPECT_TRUE(showsText(shot, Courier16Bold, 259 - titleWidth / 2, 145, "Monddaten"));
    expectFrame(shot, 27, 489, firstLine(145), 189);
    for (int y = 0; y < 145; ++y)
        for (int x = 0; x < PageWidth; ++x)
            ASSERT_EQ(shot.at(x, y), Ground) << x << "," << y;
}

TEST_F(InfoBlockTest, MoonDataRowsWithRaisedExponents)
{
    drawMoonDataPage(dialog(), PageId);
    const Snapshot shot = page();
    const int line10 = lineHeight(Courier10);
    const int line9 = lineHeight(Courier9);

    struct Row {
        const char* label;
        int valueOffset;
        const char* value;
        int gapAbove;  // from the previous row's bottom
    };
    // clang-format off
    const Row rows[] = {
        {"Gr\xF6\xDF" "te Entfernung zur Erde", 371, "406740 km", 0},
        {"Mittlere Entfernung zur Erde", 371, "384403 km", 2},
        {"Kleinste Entfernung zur Erde", 371, "356410 km", 2},
        {"Umfang", 380, "10920 km", 2},
        {"Volumen", 318, "2,199 * 10", 4},
        {"Masse", 325, "7,350 * 10", 0},  // placed from row 5's exponent line
        {"Oberfl\xE4" "chentemperatur bei Vollmond", 397, "+120\xB0" "C", 2},
        {"Oberfl\xE4" "chentemperatur bei Neumond", 397, "-130\xB0" "C", 2},
        {"Synodische Umlaufzeit in mittleren Tagen", 381, "29,53059", 2},
        {"Siderische Umlaufzeit in mittleren Tagen", 381, "27,32166", 2},
    };
    // clang-format on
    int y = firstLine(145);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (i == 5) {
            // Row 6 counts from the raised exponent line of row 5 (9-pt) and 8 pixels more.
            y = (y - 4) + line9 + 8;
        } else if (i > 0) {
            y += line10 + rows[i].gapAbove;
        }
        const float top = static_cast<float>(y);
        EXPECT_TRUE(showsText(shot, Courier10, 35, top, rows[i].label)) << "row " << i + 1;
        EXPECT_TRUE(showsText(shot, Courier10, static_cast<float>(35 + rows[i].valueOffset), top,
                              rows[i].value))
            << "row " << i + 1;
        if (i == 4) {
            EXPECT_TRUE(showsText(shot, Courier9, 35 + 399, top - 4, "10"));
            EXPECT_TRUE(showsText(shot, Courier10, 35 + 421, top, "km"));
            EXPECT_TRUE(showsText(shot, Courier9, 35 + 438, top - 4, "3"));
            // The exponent follows the value directly and stands above the value line.
            EXPECT_GE(35 + 399,
                      35 + 318 + static_cast<int>(measure(Courier10, "2,199 * 10").width));
            EXPECT_FALSE(showsText(shot, Courier9, 35 + 399, top, "10"));
        }
        if (i == 5) {
            EXPECT_TRUE(showsText(shot, Courier9, 35 + 406, top - 4, "22"));
            EXPECT_TRUE(showsText(shot, Courier10, 35 + 428, top, "kg"));
        }
    }
    // The last row stays inside the frame.
    EXPECT_LT(y + line10, firstLine(145) + 189);
}

TEST_F(InfoBlockTest, SourceBlockLinesAreCentredOnTheMiddleOfThePage)
{
    drawSourcePage(dialog(), PageId);
    const Snapshot shot = page();
    const float titleWidth = measure(Courier16Bold, "Quelle").width;
    EXPECT_TRUE(showsText(shot, Courier16Bold, 261 - titleWidth / 2, 160, "Quelle"));
    const int py = firstLine(160);
    expectFrame(shot, 10, 510, py, 180);

    const std::string hyphens(96, '-');
    const std::string_view lines[] = {
        "Der Algorithmus zur Mondphasenberechnung stammt aus dem Buch:",
        "Astronomische Algorithmen",
        "von Jean Meeus.",
        "Verlag Johann Ambrosius Barth, Leipzig, Berlin, Heidelberg 2. Auflage 1994.",
        "ISBN 3-335-00400-0",
        hyphens,
        "Das Programm ist eine \xDC"
        "bersetzung der Homepage hier:",
        HomepageLine,
        AuthorLine,
        ProgramLine,
    };
    const int lineStep = lineHeight(SansSerif9) + 2;
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        const float width = measure(SansSerif9, lines[i]).width;
        const float y = static_cast<float>(py + 2 + static_cast<int>(i) * lineStep);
        EXPECT_TRUE(showsText(shot, SansSerif9, 261 - width / 2, y, lines[i])) << lines[i];
        EXPECT_LE(width, 484) << "fits the frame: " << lines[i];
    }
    EXPECT_LT(py + 2 + 10 * lineStep, py + 180) << "all lines inside the frame";
}

TEST_F(InfoBlockTest, LinkRecordsCoverTheWebAddressAndTheAuthorLine)
{
    EXPECT_EQ(webLink().width, 0);
    EXPECT_EQ(mailLink().text.length(), 0u);
    drawSourcePage(dialog(), PageId);
    const LinkArea& web = webLink();
    const LinkArea& mail = mailLink();

    const int py = firstLine(160);
    const int lineStep = lineHeight(SansSerif9) + 2;
    const SizeF webSize = measure(SansSerif9, HomepageLine);
    const SizeF mailSize = measure(SansSerif9, AuthorLine);
    const int webTextLeft = nearestPixel(static_cast<double>(261 - webSize.width / 2));
    const int mailTextLeft = nearestPixel(static_cast<double>(261 - mailSize.width / 2));

    EXPECT_EQ(web.controlId, PageId);
    EXPECT_EQ(web.left, webTextLeft - 1) << "one pixel left of the printed address";
    EXPECT_EQ(web.top, py + 2 + 7 * lineStep);
    EXPECT_EQ(web.width, static_cast<int>(webSize.width));
    EXPECT_EQ(web.height, static_cast<int>(webSize.height));
    EXPECT_LE(std::fabs(static_cast<float>(web.left + 1) + webSize.width / 2 - 261), 0.5f);
    EXPECT_EQ(web.normalText, static_cast<Color>(Black));
    EXPECT_EQ(web.normalBackground, static_cast<Color>(White));
    EXPECT_EQ(web.raisedText, static_cast<Color>(Blue));
    EXPECT_EQ(web.raisedBackground, static_cast<Color>(White));
    EXPECT_EQ(web.fontFace.view(), "Microsoft Sans Serif");
    EXPECT_EQ(web.fontSize, 9);
    EXPECT_EQ(web.fontStyle, 0);
    EXPECT_EQ(web.text.view(), HomepageLine);
    EXPECT_EQ(web.text.view().substr(0, 8), "https://") << "the shown line is the address";

    EXPECT_EQ(mail.left, mailTextLeft) << "exactly where the author line starts";
    EXPECT_EQ(mail.top, py + 2 + 8 * lineStep);
    EXPECT_EQ(mail.width, static_cast<int>(mailSize.width));
    EXPECT_EQ(mail.height, static_cast<int>(mailSize.height));
    EXPECT_LE(std::fabs(static_cast<float>(mail.left) + mailSize.width / 2 - 261), 0.5f);
    EXPECT_EQ(mail.text.view(), AuthorLine);
    EXPECT_EQ(mail.mailAddress.view(), AuthorMailAddress);
    EXPECT_NE(mail.text.view().find(mail.mailAddress.view()), std::string_view::npos);

    // The records are where the texts are: drawing a link raised over its own record in the
    // link font covers the printed text exactly.
    const Snapshot shot = page();
    EXPECT_TRUE(showsText(shot, SansSerif9, static_cast<float>(web.left + 1),
                          static_cast<float>(web.top), web.text.view()));
    EXPECT_TRUE(showsText(shot, SansSerif9, static_cast<float>(mail.left),
                          static_cast<float>(mail.top), mail.text.view()));
}

TEST(LinkArea, TextsAreCutAtTheirCapacityAndStayTerminated)
{
    struct Case {
        std::size_t length;
        std::size_t kept;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {259, 259}, {260, 260}, {261, 260}, {5000, 260}};
    for (const Case& c : cases) {
        LinkArea area;
        const std::string text(c.length, 'x');
        area.text.assign(text);
        area.mailAddress.assign(text);
        EXPECT_EQ(area.text.length(), c.kept) << c.length;
        EXPECT_EQ(std::string(area.text.c_str()).size(), c.kept) << c.length;
        EXPECT_EQ(area.mailAddress.view(), std::string(c.kept, 'x')) << c.length;
    }
    LinkArea area;
    area.fontFace.assign(std::string(100, 'f'));
    EXPECT_EQ(area.fontFace.length(), 64u);
    area.text.assign("short");
    EXPECT_EQ(area.text.view(), "short") << "a shorter text replaces a longer one";
}

}  // namespace
}  // namespace display
