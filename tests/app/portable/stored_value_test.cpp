#include "app/stored_value.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace app {
namespace {

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

TEST(StoredValue, ReadsTheNumberAtTheStart)
{
    struct Case {
        std::string text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"120", 120},
        {"-8", -8},
        {"0", 0},
        {"  120  ", 120},                  // blanks around the number
        {std::string("\0 42 \0", 6), 42},  // NULs too
        {"", std::nullopt},                // missing
        {"   ", std::nullopt},
        {std::string("\0\0", 2), std::nullopt},
        {"abc", 0},  // present, but not a number
        {"x12", 0},
        {"12abc", 12},
        {"12 34", 12},
        {"12.5", 12},  // halves to even
        {"13.5", 14},
        {"-2.5", -2},
        {"-3.5", -4},
        {"0.49999", 0},
        {"+7", 7},
        {"1e3", 1000},
        {"2.5e1", 25},
        {"1e", 1},
        {".5", 0},
        {"-", 0},
        {"\t5", 0},  // only blanks are stripped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseStoredValue(c.text), c.value) << '[' << c.text << ']';
    }
}

TEST(StoredValue, OutOfRangeValuesAreClamped)
{
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2147483647", Highest},
        {"2147483648", Highest},
        {"-2147483648", Lowest},
        {"-2147483649", Lowest},
        {"99999999999999999999999999999999999999", Highest},
        {"-1e300", Lowest},
        {"1e99999999999", Highest},
        {"1e-99999999999", 0},
        {std::string(5000, '9'), Highest},
        {"0." + std::string(5000, '0') + "1", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseStoredValue(c.text), c.value) << c.text.substr(0, 40);
    }
}

// Long texts just off a half round the way their exact value says; a long double cannot hold
// enough digits to tell these from the half itself.
TEST(StoredValue, DigitsFarBehindThePointStillDecideTheRounding)
{
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2.50000000000000000001", 3},
        {"2.5" + std::string(40, '0') + "1", 3},
        {"-2.50000000000000000001", -3},
        {"3.49999999999999999999", 3},
        {"100000000.500000000000000159867", 100000001},
        {"100000000.5", 100000000},
        {"0.49999999999999999999999", 0},
        {"0.5000000000000000000001", 1},
        {"25000000000000000000001e-22", 3},
        {"2147483646.50000000000000000001", Highest},
        {"2147483646.5", 2147483646},
        {"-2147483648.4999999999999999999", Lowest},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseStoredValue(c.text), c.value) << c.text;
    }
}

TEST(StoredValue, WritesPlainDecimals)
{
    EXPECT_EQ(storedValueText(120), "120");
    EXPECT_EQ(storedValueText(-8), "-8");
    EXPECT_EQ(storedValueText(0), "0");
    EXPECT_EQ(storedValueText(Lowest), "-2147483648");
    for (std::int32_t v : {0, 1, -1, 12345, -98765, Highest, Lowest}) {
        EXPECT_EQ(parseStoredValue(storedValueText(v)), v);
    }
}

// Texts made of number characters read as the C library reads them, rounded and clamped (a
// bounded random run with a fixed seed; arbitrary bytes are the fuzz target's job).
TEST(StoredValue, AgreesWithTheCLibraryOnNumberLikeTexts)
{
    std::mt19937 random(20261207);
    const std::string alphabet = "0123456789+-.eE ";
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const std::size_t first = text.find_first_not_of(' ');
        std::optional<std::int32_t> expected;
        if (first != std::string::npos) {
            const std::string stripped = text.substr(first, text.find_last_not_of(' ') - first + 1);
            const long double rounded = std::nearbyint(std::strtold(stripped.c_str(), nullptr));
            expected = rounded <= Lowest    ? Lowest
                       : rounded >= Highest ? Highest
                                            : static_cast<std::int32_t>(rounded);
        }
        EXPECT_EQ(parseStoredValue(text), expected) << '[' << text << ']';
    }
}

}  // namespace
}  // namespace app
