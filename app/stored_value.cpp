#include "app/stored_value.hpp"

#include <cstdint>
#include <limits>
#include <string>

namespace app {
namespace {

bool isStripped(char c)
{
    return c == '\0' || c == ' ';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number a text starts with, kept as its decimal digits: no floating-point step, so that a
// long text just above or below a half still rounds the right way ("2.50000000000000000001" is
// nearer to 3 than to 2, which no long double can tell).
struct DecimalNumber {
    bool negative = false;
    std::string digits;              // significant digits, no leading zeros; empty for 0
    std::int64_t integerDigits = 0;  // how many of them (or of zeros after them) stand before
                                     // the point; 0 or less for a value below 1
};

// Exponents are read up to this size; anything larger is far beyond the 32-bit range either way.
constexpr std::int64_t ExponentLimit = 100000;

// The longest prefix that reads as a decimal number: sign, digits, a point and digits, and an
// exponent where a digit follows the "e". A text without a digit before the exponent is 0.
DecimalNumber leadingNumber(std::string_view text)
{
    DecimalNumber number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (!number.digits.empty() || text[i] != '0') {
            number.digits += text[i];
            ++number.integerDigits;
        }
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            if (!number.digits.empty() || text[i] != '0') {
                number.digits += text[i];
            } else {
                --number.integerDigits;  // a zero between the point and the first digit
            }
        }
    }
    if (!anyDigit || number.digits.empty()) {
        return {};
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        std::int64_t written = 0;
        for (; j < text.size() && isDigit(text[j]); ++j) {
            if (written < ExponentLimit) {
                written = written * 10 + (text[j] - '0');
            }
        }
        number.integerDigits += negativeExponent ? -written : written;
    }
    return number;
}

// The number rounded to the nearest integer, halves to even, and clamped to 32 bits.
std::int32_t roundedAndClamped(const DecimalNumber& number)
{
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    if (number.digits.empty()) {
        return 0;
    }
    // Eleven integer digits, the first of them not zero, are beyond the 32-bit range.
    if (number.integerDigits > 10) {
        return number.negative ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    }
    std::int64_t magnitude = 0;
    for (std::int64_t i = 0; i < number.integerDigits; ++i) {
        const auto at = static_cast<std::size_t>(i);
        magnitude = magnitude * 10 + (at < number.digits.size() ? number.digits[at] - '0' : 0);
    }
    // The first digit after the point decides, and on a 5 the digits after it or the parity.
    if (number.integerDigits >= 0 &&
        static_cast<std::size_t>(number.integerDigits) < number.digits.size()) {
        const auto next = static_cast<std::size_t>(number.integerDigits);
        const char first = number.digits[next];
        const bool aboveHalf = number.digits.find_first_not_of('0', next + 1) != std::string::npos;
        if (first > '5' || (first == '5' && (aboveHalf || magnitude % 2 == 1))) {
            ++magnitude;
        }
    }
    const std::int64_t value = number.negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(value < lowest ? lowest : value > highest ? highest : value);
}

}  // namespace

std::optional<std::int32_t> parseStoredValue(std::string_view text)
{
    while (!text.empty() && isStripped(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isStripped(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    return roundedAndClamped(leadingNumber(text));
}

std::string storedValueText(std::int32_t value)
{
    return std::to_string(value);
}

}  // namespace app
