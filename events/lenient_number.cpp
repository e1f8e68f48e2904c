#include "events/lenient_number.hpp"

#include <charconv>
#include <limits>

namespace events {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Exponents are read up to this size; anything larger is far beyond the 32-bit range either way.
constexpr std::int64_t ExponentLimit = 100000;

}  // namespace

LeadingNumber readLeadingNumber(std::string_view text)
{
    LeadingNumber number;
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

std::int32_t roundedToInt32(const LeadingNumber& number)
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

double valueOf(const LeadingNumber& number)
{
    if (number.digits.empty()) {
        return 0.0;
    }
    // "0.<digits>e<integerDigits>", converted with correct rounding.
    const std::string text = "0." + number.digits + "e" + std::to_string(number.integerDigits);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = number.integerDigits > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return number.negative ? -value : value;
}

}  // namespace events
