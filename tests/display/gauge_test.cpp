#include "display/gauge.hpp"

#include "display/canvas.hpp"
#include "tests/display/canvas_test_support.hpp"

#include <gtest/gtest.h>

namespace display {
namespace {

using test::Snapshot;

constexpr int GaugeId = 4098;
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

TEST(GaugeGeometry, ForTheExampleGaugeAndTheWindowsGauge)
{
    struct Case {
        int width, height;
        GaugeGeometry expected;
    };
    const Case cases[] = {
        // 8.5 rounds to 8 (ties to even); u = 0.975 * 98 / 100.
        {100, 10, {2, 49, 2, 1, 8, 0.9555f}},
        // The gauge at 96 dpi: 100 x 10 dialog units are 150 x 16 pixels; 73.5 rounds to 74.
        {150, 16, {3, 74, 2, 2, 14, 1.43325f}},
    };
    for (const Case& c : cases) {
        const GaugeGeometry g = gaugeGeometry(c.width, c.height);
        EXPECT_EQ(g.margin, c.expected.margin) << c.width;
        EXPECT_EQ(g.centre, c.expected.centre) << c.width;
        EXPECT_EQ(g.left, c.expected.left) << c.width;
        EXPECT_EQ(g.top, c.expected.top) << c.width;
        EXPECT_EQ(g.bottom, c.expected.bottom) << c.width;
        EXPECT_FLOAT_EQ(g.pixelsPerUnit, c.expected.pixelsPerUnit) << c.width;
    }
}

class GaugeTest : public ::testing::Test {
protected:
    test::TestWindow window{{{GaugeId, 0, 0, 100, 10}}};

    void SetUp() override
    {
        createCanvas(window.window(), GaugeId);
        Canvas& canvas = attachCanvas(window.window(), GaugeId, false);
        canvas.setFont("Microsoft Sans Serif", 8, 0);
        canvas.setScale(0, 0, 100, 10);
    }
    Snapshot draw(double value)
    {
        drawFractionGauge(window.window(), GaugeId, value, 100);
        return test::snapshotOf(attachCanvas(window.window(), GaugeId, true));
    }
    // First and last+1 column of the bar in a row: yellow, or blue where the text lies in it.
    static std::pair<int, int> barColumns(const Snapshot& shot, int row)
    {
        int first = -1;
        int end = -1;
        for (int x = 0; x < shot.width; ++x) {
            if (shot.at(x, row) == Yellow || shot.at(x, row) == Blue) {
                if (first < 0) {
                    first = x;
                }
                end = x + 1;
            }
        }
        return {first, end};
    }
};

TEST_F(GaugeTest, BarLengthIsTheValueRoundedToWholeUnitsTiesToEven)
{
    struct Case {
        double value;
        int end;  // first column after the bar: round(2 + 0.9555 * units)
    };
    const Case cases[] = {
        {49.5, 50},  // 50 units: 2 + 47.775
        {48.5, 48},  // 48 units: 2 + 45.864
        {100, 98},   // 95.55 pixels of bar
        {1, 3},
    };
    for (const Case& c : cases) {
        const Snapshot shot = draw(c.value);
        // Rows 2..7 carry the bar; rows 1 and 8 do not.
        for (int row = 2; row <= 7; ++row) {
            const auto [first, end] = barColumns(shot, row);
            EXPECT_EQ(first, 2) << c.value << " row " << row;
            EXPECT_EQ(end, c.end) << c.value << " row " << row;
        }
        EXPECT_EQ(barColumns(shot, 1).first, -1) << c.value;
        EXPECT_EQ(barColumns(shot, 8).first, -1) << c.value;
    }
}

TEST_F(GaugeTest, TextInsideTheBarTurnsBlueAndOutsideStaysBlack)
{
    const Snapshot full = draw(100);
    EXPECT_GT(test::countColor(full, Blue), 5);
    for (int row = 2; row <= 7; ++row) {
        for (int x = 0; x < 98; ++x) {
            EXPECT_NE(full.at(x, row), Black) << x << "," << row;
        }
    }

    const Snapshot empty = draw(0);
    EXPECT_EQ(test::countColor(empty, Yellow), 0);
    EXPECT_EQ(test::countColor(empty, Blue), 0);
    EXPECT_GT(test::countColor(empty, Black), 3);  // the text "0"
    EXPECT_EQ(empty.at(3, 3), White);
}

TEST_F(GaugeTest, RedrawingReplacesThePreviousPicture)
{
    const Snapshot first = draw(37.25);
    draw(88.8);
    EXPECT_EQ(draw(37.25), first);
}

}  // namespace
}  // namespace display
