#include "display/dials.hpp"

#include "display/canvas.hpp"
#include "tests/display/canvas_test_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace display {
namespace {

using test::Snapshot;
using test::snapshotOf;

constexpr int DialId = 4097;
constexpr int ClockId = 4096;
const COLORREF DialBackground = RGB(0, 0, 96);
const COLORREF SecondHand = RGB(212, 0, 0);
const COLORREF Hand = RGB(120, 148, 188);
const COLORREF MinuteDot = RGB(160, 160, 160);

astro::SystemTime at(int hour, int minute, int second)
{
    astro::SystemTime t;
    t.wYear = 2025;
    t.wMonth = 3;
    t.wDay = 5;
    t.wHour = static_cast<std::uint16_t>(hour);
    t.wMinute = static_cast<std::uint16_t>(minute);
    t.wSecond = static_cast<std::uint16_t>(second);
    return t;
}

TEST(DialTime, ReadsHoursMinutesAndTheLastTwoCharacters)
{
    struct Case {
        const char* text;
        float h, m, s;
    };
    const Case cases[] = {
        {"01:02:03", 1, 2, 3}, {"23:59:59", 23, 59, 59}, {"", 0, 0, 0},
        {"ab:cd:ef", 0, 0, 0}, {"7", 7, 0, 7},           {"12:3", 12, 3, 0},
        {"00:00:00", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const DialTime t = parseDialTime(c.text);
        EXPECT_EQ(t.hours, c.h) << c.text;
        EXPECT_EQ(t.minutes, c.m) << c.text;
        EXPECT_EQ(t.seconds, c.s) << c.text;
    }
    EXPECT_EQ(clockText(at(7, 5, 9)), "07:05:09");
}

// A hand runs from radius r - outer towards the centre, ending at radius 2r - outer - inner.
TEST(DialHands, PointClockwiseFromTheRightWithMinusNinetyUp)
{
    const float cx = 40.5f;
    const float cy = 40;
    const float r = 30;
    const HandLine up = handLine(cx, cy, r, -90, 6, 82);
    EXPECT_NEAR(up.x1, cx, 1e-4);
    EXPECT_NEAR(up.y1, cy - (r - 6), 1e-4);
    EXPECT_NEAR(std::hypot(up.x2 - cx, up.y2 - cy), std::fabs(2 * r - 6 - 82), 1e-3);
    // At 15:30:00 the hour hand stands at 30 * 3 - 90 + 15 = 15 degrees: right and a bit down.
    const HandLine hour = handLine(cx, cy, r, 30 * 3 - 90 + 30 * 30 / 60.0, 18, 68);
    EXPECT_GT(hour.x1, cx);
    EXPECT_GT(hour.y1, cy);
    EXPECT_NEAR(std::atan2(static_cast<double>(hour.y1 - cy), static_cast<double>(hour.x1 - cx)) *
                    180 / std::numbers::pi,
                15.0, 1e-3);
}

class DialTest : public ::testing::Test {
protected:
    // Client sizes of the two dials at 96 dpi.
    test::TestWindow window{{{DialId, 0, 0, 81, 82}, {ClockId, 100, 0, 113, 113}}};

    void SetUp() override
    {
        createCanvas(window.window(), DialId);
        createCanvas(window.window(), ClockId);
    }
    Snapshot dial()
    {
        return snapshotOf(attachCanvas(window.window(), DialId, true));
    }
    Snapshot clock()
    {
        return snapshotOf(attachCanvas(window.window(), ClockId, true));
    }
};

TEST_F(DialTest, FaceHasTwelveHourMarksAndMinuteDots)
{
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "00:00:00", at(0, 0, 0));
    const Snapshot shot = dial();
    EXPECT_EQ(shot.at(3, 3), DialBackground);
    EXPECT_EQ(test::countColor(shot, MinuteDot), 48);  // 60 positions less the 12 hour marks
    EXPECT_GT(test::countColor(shot, Hand), 12 * 4);
}

TEST_F(DialTest, SecondHandOfMidnightPointsStraightUp)
{
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "00:00:00", at(0, 0, 0));
    const Snapshot shot = dial();
    const int cx = 81 / 2;
    int redAbove = 0;
    int redElsewhere = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (shot.at(x, y) == SecondHand) {
                (std::abs(x - cx) <= 1 && y < 82 / 2 ? redAbove : redElsewhere)++;
            }
        }
    }
    EXPECT_GT(redAbove, 5);
    EXPECT_EQ(redElsewhere, 0);
}

TEST_F(DialTest, UpdatesEraseThePreviousHandsExactly)
{
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "01:02:03", at(0, 0, 0));
    const Snapshot first = dial();
    drawCountdownDialAt(window.window(), DialId, DialMode::Update, "01:02:03", at(0, 0, 0));
    EXPECT_EQ(dial(), first) << "the same time drawn twice gives the same picture";

    drawCountdownDialAt(window.window(), DialId, DialMode::Update, "05:40:27", at(0, 0, 0));
    drawCountdownDialAt(window.window(), DialId, DialMode::Update, "01:02:03", at(0, 0, 0));
    EXPECT_EQ(dial(), first) << "moving away and back leaves no trace";
}

TEST_F(DialTest, TextWithoutColonShowsTheLocalTime)
{
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "", at(10, 20, 30));
    const Snapshot fromClock = dial();
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "10:20:30", at(0, 0, 0));
    EXPECT_EQ(dial(), fromClock);
}

TEST_F(DialTest, ClockShowsItsDigitalTimeUnderTheHands)
{
    drawClockAt(window.window(), ClockId, DialMode::SetUp, at(15, 30, 0));
    const Snapshot shot = clock();
    EXPECT_GT(test::countColor(shot, RGB(0, 0, 160)), 20);  // the digital time
    const Snapshot before = shot;
    drawClockAt(window.window(), ClockId, DialMode::Update, at(15, 30, 0));
    EXPECT_EQ(clock(), before);
    drawClockAt(window.window(), ClockId, DialMode::Update, at(15, 30, 1));
    EXPECT_NE(clock(), before);
}

TEST_F(DialTest, OtherModesDrawNothing)
{
    drawCountdownDialAt(window.window(), DialId, DialMode::SetUp, "01:02:03", at(0, 0, 0));
    const Snapshot before = dial();
    drawCountdownDialAt(window.window(), DialId, static_cast<DialMode>(7), "05:06:07", at(0, 0, 0));
    drawClockAt(window.window(), DialId, static_cast<DialMode>(0), at(5, 6, 7));
    EXPECT_EQ(dial(), before);
}

}  // namespace
}  // namespace display
