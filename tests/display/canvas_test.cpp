// The canvas on a real owner-drawn control: geometry, colours, text and fonts, checked pixel by
// pixel on its memory bitmap.
#include "display/canvas.hpp"

#include "tests/display/canvas_test_support.hpp"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace display::test {
namespace {

constexpr int PageId = 4056;
constexpr int PageWidth = 522;
constexpr int PageHeight = 400;
constexpr double Pi = std::numbers::pi;

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : window_({{PageId, 0, 0, PageWidth, PageHeight}})
    {
        createCanvas(window_.window(), PageId);
        // Buffered: these tests look at the bitmap, and repainting after every call is slow.
        canvas_ = &attachCanvas(window_.window(), PageId, true);
    }

    Canvas& canvas()
    {
        return *canvas_;
    }

    // Black on white, the easiest ground to count pixels on.
    void whitePage()
    {
        canvas().setForeground(static_cast<Color>(Black));
        canvas().setBackground(static_cast<Color>(White));
        canvas().clear();
    }

    LOGFONTA selectedFont()
    {
        LOGFONTA font{};
        GetObjectA(GetCurrentObject(canvas().dc(), OBJ_FONT), sizeof font, &font);
        return font;
    }

    TestWindow window_;
    Canvas* canvas_ = nullptr;
};

struct PixelBounds {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;  // inclusive
    int bottom = INT_MIN;
};

PixelBounds boundsOfNot(const Snapshot& shot, COLORREF ground)
{
    PixelBounds bounds;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.at(x, y) != ground) {
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x);
                bounds.bottom = std::max(bounds.bottom, y);
            }
    return bounds;
}

TEST_F(CanvasTest, StartsAtTheControlSizeInTheSystemColoursWithTheDialogFont)
{
    ASSERT_TRUE(canvas().valid());
    EXPECT_EQ(canvas().control(), window_.control(PageId));
    EXPECT_EQ(canvas().controlId(), PageId);
    EXPECT_EQ(canvas().width(), PageWidth);
    EXPECT_EQ(canvas().height(), PageHeight);

    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(countColor(snapshotOf(canvas()), buttonFace), PageWidth * PageHeight);
    EXPECT_EQ(canvas().foreground(), static_cast<Color>(GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(canvas().background(), static_cast<Color>(buttonFace));
    EXPECT_EQ(GetBkMode(canvas().dc()), OPAQUE);
    EXPECT_NE(GetTextAlign(canvas().dc()) & TA_UPDATECP, 0u);
    EXPECT_EQ(canvas().penWidth(), 0);
    EXPECT_EQ(canvas().position().x, 0.0f);
    EXPECT_EQ(canvas().position().y, 0.0f);

    const LOGFONTA font = selectedFont();
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -10);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_GT(canvas().lineHeight(), 0);
    EXPECT_GT(canvas().averageCharWidth(), 0);
}

struct LineCase {
    const char* name;
    POINT from;
    POINT to;
    std::vector<POINT> coloured;
};

TEST_F(CanvasTest, LinesLeaveTheirEndPixelOut)
{
    const LineCase cases[] = {
        {"right", {10, 5}, {14, 5}, {{10, 5}, {11, 5}, {12, 5}, {13, 5}}},
        {"left", {14, 5}, {10, 5}, {{14, 5}, {13, 5}, {12, 5}, {11, 5}}},
        {"down", {3, 20}, {3, 24}, {{3, 20}, {3, 21}, {3, 22}, {3, 23}}},
        {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {"single point", {7, 7}, {7, 7}, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        whitePage();
        canvas().moveTo(static_cast<float>(c.from.x), static_cast<float>(c.from.y));
        canvas().lineTo(static_cast<float>(c.to.x), static_cast<float>(c.to.y));
        const Snapshot shot = snapshotOf(canvas());
        EXPECT_EQ(countColor(shot, Black), static_cast<int>(c.coloured.size()));
        for (const POINT& p : c.coloured)
            EXPECT_EQ(shot.at(p.x, p.y), Black) << p.x << "," << p.y;
        EXPECT_EQ(canvas().position().x, static_cast<float>(c.to.x));
        EXPECT_EQ(canvas().position().y, static_cast<float>(c.to.y));
    }
}

TEST_F(CanvasTest, LineColourAppliesToThatLineOnlyAndPenWidthToAllFollowing)
{
    whitePage();
    canvas().moveTo(10, 5);
    canvas().lineTo(30, 5, static_cast<Color>(Red));
    canvas().lineTo(30, 20);  // ColorDefault: the foreground
    Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(20, 5), Red);
    EXPECT_EQ(shot.at(30, 10), Black);
    EXPECT_EQ(canvas().foreground(), static_cast<Color>(Black));

    whitePage();
    canvas().setPenWidth(3);
    canvas().moveTo(10, 50);
    canvas().lineTo(40, 50);
    shot = snapshotOf(canvas());
    for (int y = 49; y <= 51; ++y)
        EXPECT_EQ(shot.at(25, y), Black) << y;
    EXPECT_EQ(shot.at(25, 47), White);
    EXPECT_EQ(shot.at(25, 53), White);

    canvas().setPenWidth(-4);  // no such width: back to one-pixel lines
    EXPECT_EQ(canvas().penWidth(), 0);
    canvas().setPenWidth(10'000'000);
    EXPECT_EQ(canvas().penWidth(), 1024);
}

// Shapes far outside the bitmap must neither wrap around nor stall the rasteriser (Wine spins
// for minutes on an ellipse of a million pixels and on ten-million-pixel pens).
TEST_F(CanvasTest, WildCoordinatesAndPenWidthsAreClampedNotWrapped)
{
    EXPECT_EQ(canvas().pixelX(1e30f), 131072);
    EXPECT_EQ(canvas().pixelY(-1e30f), -131072);
    EXPECT_EQ(canvas().pixelX(std::numeric_limits<float>::infinity()), 131072);
    EXPECT_EQ(canvas().pixelX(std::numeric_limits<float>::quiet_NaN()), 0);

    whitePage();
    constexpr float Huge = 1e9f;
    const std::array<PointF, 3> triangle{{{-Huge, -Huge}, {Huge, 0}, {0, Huge}}};
    canvas().setPenWidth(10'000'000);
    canvas().box(-Huge, -Huge, Huge, Huge, EllipseCorner, static_cast<Color>(Red), ColorNone);
    canvas().arc(-Huge, -Huge, Huge, Huge, 0.5, 2.0);
    canvas().pie(-Huge, -Huge, Huge, Huge, 1.0, 1.0, static_cast<Color>(Blue));
    canvas().moveTo(-Huge, -Huge);
    canvas().lineTo(Huge, Huge);
    canvas().polygon(triangle);
    // A line from far top-left to far bottom-right crosses the whole canvas.
    canvas().setPenWidth(0);
    whitePage();
    canvas().moveTo(-Huge, -Huge);
    canvas().lineTo(Huge, Huge);
    const Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(0, 0), Black);
    EXPECT_EQ(shot.at(200, 200), Black);
    EXPECT_EQ(shot.at(200, 199), White);
}

struct RoundingCase {
    float world;
    int pixel;
};

TEST_F(CanvasTest, WorldCoordinatesRoundToTheNearestPixelTiesToEven)
{
    const RoundingCase cases[] = {{12.5f, 12}, {13.5f, 14}, {12.4999f, 12}, {12.5001f, 13},
                                  {0.5f, 0},   {1.5f, 2},   {-0.5f, 0},     {-1.5f, -2},
                                  {-2.5f, -2}, {7.0f, 7}};
    for (const RoundingCase& c : cases) {
        EXPECT_EQ(canvas().pixelX(c.world), c.pixel) << c.world;
        EXPECT_EQ(canvas().pixelY(c.world), c.pixel) << c.world;
    }

    whitePage();
    canvas().setPixel(12.5f, 13.5f);
    const Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(countColor(shot, Black), 1);
    EXPECT_EQ(shot.at(12, 14), Black);
}

TEST_F(CanvasTest, ScaleMapsTheWorldRectangleOntoTheWholeBitmap)
{
    // Two world units per pixel: the halves land on ties.
    canvas().setScale(0, 0, 2 * PageWidth, 2 * PageHeight);
    const RoundingCase halved[] = {{25, 12}, {27, 14}, {26, 13}, {0, 0}, {1044, 522}};
    for (const RoundingCase& c : halved) {
        EXPECT_EQ(canvas().pixelX(c.world), c.pixel) << c.world;
        EXPECT_EQ(canvas().pixelY(c.world), c.pixel) << c.world;
    }
    canvas().moveTo(20, 40);
    EXPECT_EQ(canvas().position().x, 20.0f);
    EXPECT_EQ(canvas().position().y, 40.0f);
    POINT device{};
    GetCurrentPositionEx(canvas().dc(), &device);
    EXPECT_EQ(device.x, 10);
    EXPECT_EQ(device.y, 20);

    // Reversed axes: x from right to left, y upwards.
    canvas().setScale(PageWidth, PageHeight, 0, 0);
    EXPECT_EQ(canvas().pixelX(PageWidth), 0);
    EXPECT_EQ(canvas().pixelX(0), PageWidth);
    EXPECT_EQ(canvas().pixelX(PageWidth - 12.5f), 12);
    EXPECT_EQ(canvas().pixelY(PageHeight - 13.5f), 14);

    // An offset origin at one pixel per unit.
    canvas().setScale(100, 50, 100 + PageWidth, 50 + PageHeight);
    EXPECT_EQ(canvas().pixelX(110), 10);
    EXPECT_EQ(canvas().pixelY(45), -5);

    // An empty rectangle has no mapping and keeps the last one.
    canvas().setScale(3, 3, 3, 9);
    EXPECT_EQ(canvas().pixelX(110), 10);
}

TEST_F(CanvasTest, BoxesExcludeTheirRightAndBottomEdges)
{
    whitePage();
    canvas().box(10, 10, 20, 15, 0, static_cast<Color>(Black), static_cast<Color>(Red));
    const Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(10, 10), Black);
    EXPECT_EQ(shot.at(19, 14), Black);
    EXPECT_EQ(shot.at(15, 12), Red);
    EXPECT_EQ(shot.at(20, 12), White);
    EXPECT_EQ(shot.at(15, 15), White);
    EXPECT_EQ(countColor(shot, Black) + countColor(shot, Red), 10 * 5);
    EXPECT_EQ(countColor(shot, Black), 2 * 10 + 2 * 5 - 4);

    // Corners given the other way round make the same box.
    whitePage();
    canvas().box(20, 15, 10, 10, 0, static_cast<Color>(Black), static_cast<Color>(Red));
    EXPECT_EQ(snapshotOf(canvas()), shot);
}

struct FillCase {
    const char* name;
    Color outline;
    Color fill;
    COLORREF edge;
    COLORREF inside;
};

TEST_F(CanvasTest, BoxOutlineAndFillDefaults)
{
    const FillCase cases[] = {
        {"defaults: foreground outline, filled in it", ColorDefault, ColorDefault, Black, Black},
        {"fill follows the outline", static_cast<Color>(Blue), ColorDefault, Blue, Blue},
        {"hollow", static_cast<Color>(Red), ColorNone, Red, White},
        {"both given", static_cast<Color>(Red), static_cast<Color>(Blue), Red, Blue},
        // Without a pen GDI fills up to the edge pixels itself.
        {"no outline", ColorNone, static_cast<Color>(Blue), Blue, Blue},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        whitePage();
        canvas().box(30, 30, 60, 50, 0, c.outline, c.fill);
        const Snapshot shot = snapshotOf(canvas());
        EXPECT_EQ(shot.at(30, 40), c.edge);
        EXPECT_EQ(shot.at(45, 40), c.inside);
    }
}

TEST_F(CanvasTest, HatchedFillsUseTheStandardPatternsAndHighStylesAreSolid)
{
    // Inside a box: the horizontal hatch makes whole rows of one colour, the vertical one whole
    // columns; about one line in eight is hatch colour.
    for (int style : {1, 2}) {
        SCOPED_TRACE(style);
        whitePage();
        canvas().box(0, 0, 64, 64, 0, static_cast<Color>(Red), static_cast<Color>(Red), style);
        const Snapshot shot = snapshotOf(canvas());
        int hatchLines = 0;
        for (int line = 1; line < 63; ++line) {
            const COLORREF first = style == 1 ? shot.at(1, line) : shot.at(line, 1);
            for (int along = 2; along < 63; ++along)
                ASSERT_EQ(style == 1 ? shot.at(along, line) : shot.at(line, along), first)
                    << line << "/" << along;
            if (first == Red)
                ++hatchLines;
        }
        EXPECT_GE(hatchLines, 6);
        EXPECT_LE(hatchLines, 9);
    }

    for (int style : {FillSolid, 7, 100, -3}) {
        SCOPED_TRACE(style);
        whitePage();
        canvas().box(0, 0, 64, 64, 0, static_cast<Color>(Red), static_cast<Color>(Red), style);
        EXPECT_EQ(countColor(snapshotOf(canvas()), Red), 64 * 64);
    }
}

TEST_F(CanvasTest, CornerPercentagesRoundTheCornersUpToAFullHundred)
{
    whitePage();
    canvas().box(10, 10, 50, 30, 0);
    EXPECT_EQ(snapshotOf(canvas()).at(10, 10), Black);

    // 50 % of the shorter side 20: corner diameters of 10.
    whitePage();
    canvas().box(10, 10, 50, 30, 50);
    Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(10, 10), White);
    EXPECT_EQ(shot.at(30, 10), Black);

    whitePage();
    canvas().box(10, 10, 50, 30, 100);
    const Snapshot hundred = snapshotOf(canvas());
    whitePage();
    canvas().box(10, 10, 50, 30, 250);
    EXPECT_EQ(snapshotOf(canvas()), hundred);
}

TEST_F(CanvasTest, EllipseCornerOverSixPixelsIsACircleOfDiameterSix)
{
    constexpr float cx = 100;
    constexpr float cy = 80;
    whitePage();
    canvas().box(cx - 3, cy - 3, cx + 3, cy + 3, EllipseCorner);
    const Snapshot shot = snapshotOf(canvas());
    const PixelBounds bounds = boundsOfNot(shot, White);
    EXPECT_EQ(bounds.left, 97);
    EXPECT_EQ(bounds.right, 102);
    EXPECT_EQ(bounds.top, 77);
    EXPECT_EQ(bounds.bottom, 82);
    // Round, not square: the corners of the box stay empty; symmetric both ways.
    EXPECT_EQ(shot.at(97, 77), White);
    EXPECT_EQ(shot.at(102, 82), White);
    for (int y = 77; y <= 82; ++y)
        for (int x = 97; x <= 102; ++x) {
            EXPECT_EQ(shot.at(x, y), shot.at(97 + 102 - x, y)) << x << "," << y;
            EXPECT_EQ(shot.at(x, y), shot.at(x, 77 + 82 - y)) << x << "," << y;
        }
    EXPECT_EQ(shot.at(100, 80), Black);
}

std::vector<bool> coveredPixels(const Snapshot& shot, COLORREF ground)
{
    std::vector<bool> covered;
    for (COLORREF pixel : shot.pixels)
        covered.push_back(pixel != ground);
    return covered;
}

TEST_F(CanvasTest, PieWithEqualAnglesIsTheWholeFilledEllipse)
{
    whitePage();
    canvas().box(40, 40, 60, 60, EllipseCorner, static_cast<Color>(Red), static_cast<Color>(Red));
    const Snapshot ellipse = snapshotOf(canvas());
    ASSERT_GT(countColor(ellipse, Red), 300);

    for (double angle : {0.0, 1.25, Pi, 5.0}) {
        SCOPED_TRACE(angle);
        // In one colour (as the dials draw whole discs) the sector is the ellipse exactly.
        whitePage();
        canvas().pie(40, 40, 60, 60, angle, angle, static_cast<Color>(Red),
                     static_cast<Color>(Red));
        EXPECT_EQ(snapshotOf(canvas()), ellipse);

        // With its own outline colour nothing of the ellipse is left out either (the outline
        // adds the radius to the start point).
        whitePage();
        canvas().pie(40, 40, 60, 60, angle, angle, static_cast<Color>(Black),
                     static_cast<Color>(Red));
        const Snapshot outlined = snapshotOf(canvas());
        EXPECT_EQ(coveredPixels(outlined, White), coveredPixels(ellipse, White));
        EXPECT_EQ(outlined.at(40, 50), Black);
    }
}

struct SectorCase {
    const char* name;
    double start;  // turns
    double end;
    POINT inside;
    POINT outside;
};

TEST_F(CanvasTest, SectorsRunCounterClockwiseAsSeenOnTheScreen)
{
    const SectorCase cases[] = {
        {"left half", 0.25, 0.75, {43, 50}, {57, 50}},
        {"right half", 0.75, 0.25, {57, 50}, {43, 50}},
        {"upper half", 0.0, 0.5, {50, 43}, {50, 57}},
        {"lower half", 0.5, 1.0, {50, 57}, {50, 43}},
        {"first quadrant", 0.0, 0.25, {55, 45}, {45, 55}},
    };
    for (const SectorCase& c : cases) {
        SCOPED_TRACE(c.name);
        whitePage();
        canvas().pie(40, 40, 60, 60, c.start * 2 * Pi, c.end * 2 * Pi, static_cast<Color>(Red));
        const Snapshot shot = snapshotOf(canvas());
        EXPECT_EQ(shot.at(c.inside.x, c.inside.y), Red);
        EXPECT_EQ(shot.at(c.outside.x, c.outside.y), White);
    }
}

TEST_F(CanvasTest, ArcsDrawOnlyTheirPartOfTheOutline)
{
    whitePage();
    canvas().arc(10, 10, 50, 50, 0, Pi / 2);  // upper right quarter
    Snapshot shot = snapshotOf(canvas());
    const int drawn = countColor(shot, Black);
    EXPECT_GT(drawn, 20);
    EXPECT_LT(drawn, 40);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (shot.at(x, y) == Black) {
                EXPECT_GE(x, 29) << x << "," << y;
                EXPECT_LE(y, 31) << x << "," << y;
            }

    // The other three quarters, in the arc's own colour.
    whitePage();
    canvas().arc(10, 10, 50, 50, Pi / 2, 0, static_cast<Color>(Blue));
    shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(10, 30), Blue);
    EXPECT_EQ(shot.at(30, 49), Blue);
    EXPECT_EQ(countColor(shot, Black), 0);
}

std::vector<PointF> circlePoints(std::size_t count, float cx, float cy, float radius)
{
    std::vector<PointF> points;
    for (std::size_t i = 0; i < count; ++i) {
        const double angle = 2 * Pi * static_cast<double>(i) / static_cast<double>(count);
        points.push_back({cx + radius * static_cast<float>(std::cos(angle)),
                          cy + radius * static_cast<float>(std::sin(angle))});
    }
    return points;
}

TEST_F(CanvasTest, PolygonsNeedTwoToTenTwentyFourPoints)
{
    struct CountCase {
        std::size_t count;
        bool drawn;
    };
    const CountCase cases[] = {{0, false},   {1, false},    {2, true},    {3, true},
                               {1024, true}, {1025, false}, {5000, false}};
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.count);
        whitePage();
        const std::vector<PointF> points = circlePoints(c.count, 100, 100, 40);
        canvas().polygon(points, static_cast<Color>(Red));
        EXPECT_EQ(countColor(snapshotOf(canvas()), Red) > 0, c.drawn);
    }
}

TEST_F(CanvasTest, PolygonFillRuleDecidesAboutTheCentreOfAStar)
{
    // A pentagram: its inner pentagon is wound twice.
    std::vector<PointF> star;
    for (int i = 0; i < 5; ++i) {
        const double angle = Pi / 2 + i * 4 * Pi / 5;
        star.push_back({100 + 60 * static_cast<float>(std::cos(angle)),
                        100 - 60 * static_cast<float>(std::sin(angle))});
    }
    whitePage();
    canvas().polygon(star, static_cast<Color>(Black), static_cast<Color>(Red), FillSolid, false);
    EXPECT_EQ(snapshotOf(canvas()).at(100, 100), Red);

    whitePage();
    canvas().polygon(star, static_cast<Color>(Black), static_cast<Color>(Red), FillSolid, true);
    const Snapshot alternate = snapshotOf(canvas());
    EXPECT_EQ(alternate.at(100, 100), White);
    EXPECT_EQ(alternate.at(100, 50), Red);  // a point of the star
}

TEST_F(CanvasTest, PrintsFollowEachOtherAndNewLineReturnsToTheLeftEdge)
{
    whitePage();
    const SizeF ab = canvas().textSize("Ab");
    const SizeF cd = canvas().textSize("Cd");
    ASSERT_GT(ab.width, 0);
    ASSERT_GT(ab.height, 0);

    canvas().moveTo(5, 7);
    canvas().print("Ab");
    EXPECT_EQ(canvas().position().x, 5 + ab.width);
    EXPECT_EQ(canvas().position().y, 7.0f);
    canvas().print("Cd");
    EXPECT_EQ(canvas().position().x, 5 + ab.width + cd.width);
    const Snapshot twoPrints = snapshotOf(canvas());

    // The text's top-left corner is the position, and nothing spills outside its extent.
    const PixelBounds bounds = boundsOfNot(twoPrints, White);
    EXPECT_GE(bounds.left, 5);
    EXPECT_GE(bounds.top, 7);
    EXPECT_LT(bounds.right, 5 + static_cast<int>(ab.width + cd.width));
    EXPECT_LT(bounds.bottom, 7 + static_cast<int>(ab.height));
    EXPECT_GT(countColor(twoPrints, Black), 0);

    whitePage();
    canvas().moveTo(5, 7);
    canvas().print("AbCd");
    EXPECT_EQ(snapshotOf(canvas()), twoPrints);

    canvas().newLine();
    EXPECT_EQ(canvas().position().x, 0.0f);
    EXPECT_EQ(canvas().position().y, static_cast<float>(7 + canvas().lineHeight()));

    whitePage();
    canvas().moveTo(5, 7);
    canvas().newLine();
    canvas().print("Ab");
    const PixelBounds second = boundsOfNot(snapshotOf(canvas()), White);
    EXPECT_GE(second.top, 7 + canvas().lineHeight());
    EXPECT_LT(second.left, 5);
}

struct FontHeightCase {
    int points;
    LONG height;  // at 96 dpi
};

TEST_F(CanvasTest, FontHeightsFollowTheScreenResolution)
{
    ASSERT_EQ(GetDeviceCaps(canvas().dc(), LOGPIXELSY), 96);
    const FontHeightCase cases[] = {{8, -10}, {9, -12}, {10, -13}, {16, -21}, {72, -96},
                                    {1, -1},  {0, -10}, {73, -10}, {-3, -10}};
    for (const FontHeightCase& c : cases) {
        canvas().setFont("Courier New", c.points, 0);
        EXPECT_EQ(selectedFont().lfHeight, c.height) << c.points << " pt";
        // Line height includes the external leading; both follow every font change.
        TEXTMETRICA metrics{};
        ASSERT_TRUE(GetTextMetricsA(canvas().dc(), &metrics));
        EXPECT_EQ(canvas().lineHeight(), metrics.tmHeight + metrics.tmExternalLeading);
        EXPECT_EQ(canvas().averageCharWidth(), metrics.tmAveCharWidth);
    }
}

struct FontStyleCase {
    int style;
    LONG weight;
    BYTE italic;
    BYTE underline;
    BYTE strikeOut;
};

TEST_F(CanvasTest, FontStyleBitsSelectWeightAndDecorations)
{
    const FontStyleCase cases[] = {
        {0, FW_NORMAL, 0, 0, 0},
        {FontBold, FW_BOLD, 0, 0, 0},
        {FontItalic, FW_NORMAL, 1, 0, 0},
        {FontUnderline, FW_NORMAL, 0, 1, 0},
        {FontStrikeOut, FW_NORMAL, 0, 0, 1},
        {FontBold | FontItalic | FontUnderline | FontStrikeOut, FW_BOLD, 1, 1, 1},
    };
    for (const FontStyleCase& c : cases) {
        SCOPED_TRACE(c.style);
        canvas().setFont("Microsoft Sans Serif", 8, c.style);
        const LOGFONTA font = selectedFont();
        EXPECT_STREQ(font.lfFaceName, "Microsoft Sans Serif");
        EXPECT_EQ(font.lfWeight, c.weight);
        EXPECT_EQ(font.lfItalic, c.italic);
        EXPECT_EQ(font.lfUnderline, c.underline);
        EXPECT_EQ(font.lfStrikeOut, c.strikeOut);
        // Western faces on every system code page, not the system's default character set.
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    }
}

TEST_F(CanvasTest, LongFaceNamesAreCutToThirtyOneCharacters)
{
    const std::string face = "Lunavista Face With A Very Long Name Indeed";
    canvas().setFont(face, 10, 0);
    EXPECT_EQ(std::string(selectedFont().lfFaceName), face.substr(0, 31));
}

TEST_F(CanvasTest, NotXorPenTurnsYellowOverBlackTextBlueAndOverWhiteYellow)
{
    whitePage();
    canvas().moveTo(2, 2);
    canvas().print("Lunavista 100");
    const Snapshot text = snapshotOf(canvas());
    ASSERT_GT(countColor(text, Black), 0);

    canvas().setMix(MixNotXorPen);
    for (int y = 0; y < 30; ++y) {
        canvas().moveTo(0, static_cast<float>(y));
        canvas().lineTo(120, static_cast<float>(y), static_cast<Color>(Yellow));
    }
    const Snapshot mixed = snapshotOf(canvas());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF want = text.at(x, y) == Black ? Blue : Yellow;
            ASSERT_EQ(mixed.at(x, y), want) << x << "," << y;
        }

    // Mix modes outside 1..16 fall back to copying the pen: rows with blue turn all yellow.
    std::vector<int> blueRows;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            if (mixed.at(x, y) == Blue) {
                blueRows.push_back(y);
                break;
            }
    ASSERT_GE(blueRows.size(), 3u);
    const int modes[] = {0, 17, -1};
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        SCOPED_TRACE(modes[i]);
        canvas().setMix(modes[i]);
        const int y = blueRows[i];
        canvas().moveTo(0, static_cast<float>(y));
        canvas().lineTo(120, static_cast<float>(y), static_cast<Color>(Yellow));
        const Snapshot copied = snapshotOf(canvas());
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(copied.at(x, y), Yellow) << x;
        canvas().setMix(MixNotXorPen);
    }
}

TEST_F(CanvasTest, ColourDefaultsComeFromTheSystemAndRgbClamps)
{
    canvas().setForeground(static_cast<Color>(Red));
    canvas().setForeground(ColorDefault);
    EXPECT_EQ(canvas().foreground(), static_cast<Color>(GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(GetTextColor(canvas().dc()), GetSysColor(COLOR_WINDOWTEXT));

    canvas().setBackground(static_cast<Color>(Blue));
    canvas().setBackground(ColorDefault);
    EXPECT_EQ(canvas().background(), static_cast<Color>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(GetBkColor(canvas().dc()), GetSysColor(COLOR_BTNFACE));

    struct RgbCase {
        int red, green, blue;
        COLORREF want;
    };
    const RgbCase cases[] = {{0, 0, 0, RGB(0, 0, 0)},
                             {255, 255, 255, RGB(255, 255, 255)},
                             {178, 194, 217, RGB(178, 194, 217)},
                             {-5, 300, 128, RGB(0, 255, 128)},
                             {256, -1, 1000, RGB(255, 0, 255)}};
    for (const RgbCase& c : cases)
        EXPECT_EQ(rgb(c.red, c.green, c.blue), static_cast<Color>(c.want))
            << c.red << "," << c.green << "," << c.blue;
}

TEST_F(CanvasTest, TransparentBackgroundLeavesTheGroundBetweenTheLetters)
{
    canvas().setForeground(static_cast<Color>(Black));
    canvas().setBackground(static_cast<Color>(White));
    canvas().clear(static_cast<Color>(Red));
    canvas().setBackground(ColorNone);
    EXPECT_EQ(canvas().background(), ColorNone);
    canvas().moveTo(3, 3);
    canvas().print("Mond");
    const Snapshot shot = snapshotOf(canvas());
    EXPECT_GT(countColor(shot, Black), 0);
    EXPECT_EQ(countColor(shot, White), 0);

    // The last opaque colour is still the one a default clear fills with.
    canvas().clear();
    EXPECT_EQ(countColor(snapshotOf(canvas()), White), PageWidth * PageHeight);
}

TEST_F(CanvasTest, ClearFillsEverythingAndReturnsToTheTopLeft)
{
    canvas().setBackground(static_cast<Color>(Blue));
    canvas().moveTo(30, 40);
    canvas().clear();
    EXPECT_EQ(countColor(snapshotOf(canvas()), Blue), PageWidth * PageHeight);
    EXPECT_EQ(canvas().position().x, 0.0f);
    EXPECT_EQ(canvas().position().y, 0.0f);

    canvas().moveTo(30, 40);
    canvas().clear(rgb(178, 194, 217));
    EXPECT_EQ(countColor(snapshotOf(canvas()), RGB(178, 194, 217)), PageWidth * PageHeight);
    EXPECT_EQ(canvas().position().x, 0.0f);

    // Horizontal hatch over the opaque background: whole rows of either colour.
    canvas().clear(static_cast<Color>(Red), 1);
    const Snapshot hatched = snapshotOf(canvas());
    const int red = countColor(hatched, Red);
    EXPECT_EQ(red % PageWidth, 0);
    EXPECT_EQ(red + countColor(hatched, Blue), PageWidth * PageHeight);
    EXPECT_EQ(red / PageWidth, PageHeight / 8);
}

TEST_F(CanvasTest, SetPixelColoursOnePixelAndMovesThere)
{
    whitePage();
    canvas().setPixel(7, 8, static_cast<Color>(Red));
    canvas().setPixel(9, 8);
    const Snapshot shot = snapshotOf(canvas());
    EXPECT_EQ(shot.at(7, 8), Red);
    EXPECT_EQ(shot.at(9, 8), Black);
    EXPECT_EQ(countColor(shot, White), PageWidth * PageHeight - 2);
    EXPECT_EQ(canvas().position().x, 9.0f);
    EXPECT_EQ(canvas().position().y, 8.0f);

    EXPECT_EQ(canvas().getPixel(7, 8), static_cast<Color>(Red));
    EXPECT_EQ(canvas().getPixel(3, 3), static_cast<Color>(White));
    EXPECT_EQ(canvas().getPixel(-1, 3), ColorNone);
    EXPECT_EQ(canvas().getPixel(PageWidth, 3), ColorNone);
}

}  // namespace
}  // namespace display::test
