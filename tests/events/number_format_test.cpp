#include "events/number_format.hpp"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

namespace events {
namespace {

// Expected texts: the mask rules of the program ("0" always written, "#" only significant
// digits, "." always written, "*c" fills with c, the field grows for long numbers).
TEST(NumberMasks, WriteTheProgramsMasks)
{
    struct Case {
        double value;
        std::string_view mask;
        const char* text;
    };
    const Case cases[] = {
        {0, MaskTwoDigits, "00"},
        {7, MaskTwoDigits, "07"},
        {10, MaskTwoDigits, "10"},
        {59, MaskTwoDigits, "59"},
        {123, MaskTwoDigits, "123"},
        {5, MaskTwoDigitsPoint, "05."},
        {12, MaskTwoDigitsPoint, "12."},
        {2025, MaskYear, "2025"},
        {800, MaskYear, "0800"},
        {1, MaskYear, "0001"},
        {12025, MaskYear, "12025"},
        {5, MaskBlankTwo, " 5"},
        {12, MaskBlankTwo, "12"},
        {123, MaskBlankTwo, "123"},
        {0, MaskBlankTwo, "  "},
        {5, MaskBlankThree, "  5"},
        {12, MaskBlankThree, " 12"},
        {0, MaskBlankThree, "   "},
        {1000, MaskBlankThree, "1000"},
        {100, MaskFraction, "100."},
        {0, MaskFraction, "0."},
        {0.5, MaskFraction, "0.5"},
        {45.12346, MaskFraction, "45.12346"},
        {3.1, MaskFraction, "3.1"},
        {99.999999, MaskFraction, "100."},  // rounds up into the integer part
        {0.000004, MaskFraction, "0."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatWithMask(c.value, c.mask), c.text)
            << c.value << " with \"" << c.mask << "\"";
    }
}

TEST(NumberMasks, NegativeValuesKeepTheFieldWidthWhereTheyCan)
{
    EXPECT_EQ(formatWithMask(-1, MaskBlankTwo), "-1");
    EXPECT_EQ(formatWithMask(-1, MaskBlankThree), " -1");
    EXPECT_EQ(formatWithMask(-12, MaskBlankTwo), "-12");
    EXPECT_EQ(formatWithMask(-5, MaskTwoDigits), "-05");
    EXPECT_EQ(formatWithMask(-0.25, MaskFraction), "-0.25");
    // Values that round to zero have no sign.
    EXPECT_EQ(formatWithMask(-0.0, MaskTwoDigits), "00");
    EXPECT_EQ(formatWithMask(-0.000001, MaskFraction), "0.");
}

TEST(NumberMasks, HugeAndNonFiniteValuesAreWrittenSafely)
{
    // The largest double has 309 integer digits: the field grows, nothing is cut or overrun.
    const std::string largest = formatWithMask(std::numeric_limits<double>::max(), MaskTwoDigits);
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 6), "179769");
    EXPECT_EQ(formatWithMask(1e20, MaskFraction), "100000000000000000000.");
    EXPECT_EQ(formatWithMask(std::numeric_limits<double>::quiet_NaN(), MaskYear), "");
    EXPECT_EQ(formatWithMask(std::numeric_limits<double>::infinity(), MaskBlankTwo), "");
    // Odd masks: literals are copied, a lone '*' is a literal, no digit positions at all.
    EXPECT_EQ(formatWithMask(7, "x00y"), "x07y");
    EXPECT_EQ(formatWithMask(7, "*"), "*7");
    EXPECT_EQ(formatWithMask(7, ""), "7");
    EXPECT_EQ(formatWithMask(7.25, ".##"), "7.25");
}

TEST(PlainIntegerText, DigitsWithSignAndNothingElse)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {9, "9"},
        {59, "59"},
        {-8, "-8"},
        {120, "120"},
        {999999999999999, "999999999999999"},
        {1e15, "1e+15"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plainIntegerText(c.value), c.text) << c.value;
    }
    // Distances: the nearest whole kilometre, halves to even, as the facts table writes them.
    const Case distances[] = {
        {356641.4999, "356641 km"},
        {356641.5, "356642 km"},
        {356642.5, "356642 km"},
        {406740, "406740 km"},
        {0.4, "0 km"},
        {std::numeric_limits<double>::infinity(), ""},
    };
    for (const Case& c : distances) {
        EXPECT_EQ(kilometresText(c.value), c.text) << c.value;
    }
}

TEST(FractionText, DropsTheTrailingPoint)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {100, "100"},     {0, "0"},       {0.5, "0.5"},           {45.12346, "45.12346"},
        {3.10000, "3.1"}, {49.5, "49.5"}, {12.00001, "12.00001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fractionText(c.value), c.text) << c.value;
    }
}

// The same answers in every floating-point rounding mode: a DLL may leave the FPU in another.
TEST(Rounding, HalfEvenToWholeNumbersInEveryRoundingMode)
{
    const int saved = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        EXPECT_EQ(roundHalfEven(2.5), 2.0) << mode;
        EXPECT_EQ(roundHalfEven(3.5), 4.0) << mode;
        EXPECT_EQ(roundHalfEven(-2.5), -2.0) << mode;
        EXPECT_EQ(roundHalfEven(49.5), 50.0) << mode;
        EXPECT_EQ(roundHalfEven(48.5), 48.0) << mode;
        EXPECT_EQ(roundHalfEven(-3.7), -4.0) << mode;
        EXPECT_EQ(roundHalfEven(0.49999999999999994), 0.0) << mode;
        EXPECT_TRUE(std::signbit(roundHalfEven(-0.3))) << mode;
        EXPECT_EQ(nearestInt(73.5), 74) << mode;
    }
    std::fesetround(saved);
}

TEST(Rounding, FiveDecimalsHalvesToEven)
{
    // 0.015625 = 1/64 and 0.046875 = 3/64 are exact binary halves at the sixth decimal.
    EXPECT_EQ(roundToFiveDecimals(0.015625), 0.01562);
    EXPECT_EQ(roundToFiveDecimals(0.046875), 0.04688);
    EXPECT_EQ(roundToFiveDecimals(-0.015625), -0.01562);
    EXPECT_EQ(roundToFiveDecimals(45.123456789), 45.12346);
    EXPECT_EQ(roundToFiveDecimals(99.999996), 100.0);
    EXPECT_EQ(roundToFiveDecimals(0.0), 0.0);
    EXPECT_EQ(roundToFiveDecimals(1e300), 1e300);
    EXPECT_TRUE(std::isnan(roundToFiveDecimals(std::numeric_limits<double>::quiet_NaN())));
    // The rounded value is the double nearest the decimal, so it prints without noise.
    EXPECT_EQ(fractionText(roundToFiveDecimals(37.3190149)), "37.31901");
}

}  // namespace
}  // namespace events
