// Numbers read the lenient way, as texts of the window-position file, of the dial times and of
// the crescent table are read: the number a text starts with, whatever follows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace events {

// The number at the very start of a text: an optional sign, digits, a point and digits, and an
// exponent where a digit follows the "e". Nothing is skipped before it (callers strip what they
// allow) and whatever follows it is ignored; a text without a digit before the exponent is 0.
// The number is kept as its decimal digits, with no floating-point step, so that a long text
// just above or below a half still rounds the right way ("2.50000000000000000001" is nearer to
// 3 than to 2, which no long double can tell).
struct LeadingNumber {
    bool negative = false;
    std::string digits;              // significant digits, no leading zeros; empty for 0
    std::int64_t integerDigits = 0;  // how many of them (or of zeros after them) stand before
                                     // the point; 0 or less for a value below 1
};
LeadingNumber readLeadingNumber(std::string_view text);

// The number rounded to the nearest integer, halves to even, and clamped to 32 bits.
std::int32_t roundedToInt32(const LeadingNumber& number);

// The double nearest to the number (0 for none; the infinities beyond the double range).
double valueOf(const LeadingNumber& number);

}  // namespace events
