#include "events/countdown.hpp"

#include <gtest/gtest.h>

namespace events {
namespace {

TEST(Countdown, LabelsAndDialOfADuration)
{
    struct Case {
        double days;
        const char* daysText;
        const char* hoursText;
        const char* minutesText;
        const char* secondsText;
        const char* dial;
    };
    const Case cases[] = {
        {0.5, "0", "12", "0", "0", "12:00:00"},
        {2.75, "2", "18", "0", "0", "18:00:00"},  // the whole days never reach the dial
        {0.0, "0", "0", "0", "0", "00:00:00"},
        {0.999999, "0", "23", "59", "59", "23:59:59"},
        {2 + (7 * 3600 + 5 * 60 + 9.5) / 86400.0, "2", "7", "5", "9", "07:05:09"},
        {29.5, "29", "12", "0", "0", "12:00:00"},
        {1234567.0, "1234567", "0", "0", "0", "00:00:00"},
    };
    for (const Case& c : cases) {
        const CountdownParts parts = countdownParts(c.days);
        EXPECT_EQ(parts.daysText, c.daysText) << c.days;
        EXPECT_EQ(parts.hoursText, c.hoursText) << c.days;
        EXPECT_EQ(parts.minutesText, c.minutesText) << c.days;
        EXPECT_EQ(parts.secondsText, c.secondsText) << c.days;
        EXPECT_EQ(parts.dialText, c.dial) << c.days;
        EXPECT_EQ(dialText(c.days), c.dial) << c.days;
    }
}

}  // namespace
}  // namespace events
