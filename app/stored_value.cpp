#include "app/stored_value.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>

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

// The longest prefix that reads as a decimal number, as a long double. Digits beyond what a
// long double resolves still move the decimal exponent, so absurdly long texts stay correct in
// magnitude and never overflow anything.
long double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long double mantissa = 0;
    long exponent10 = 0;
    int significant = 0;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (significant < 30) {
            mantissa = mantissa * 10 + (text[i] - '0');
            if (mantissa != 0) {
                ++significant;
            }
        } else {
            ++exponent10;
        }
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            if (significant < 30) {
                mantissa = mantissa * 10 + (text[i] - '0');
                --exponent10;
                if (mantissa != 0) {
                    ++significant;
                }
            }
        }
    }
    if (!anyDigit) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            long written = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) {
                if (written < 100000) {
                    written = written * 10 + (text[j] - '0');
                }
            }
            exponent10 += negativeExponent ? -written : written;
        }
    }
    if (mantissa == 0) {
        return 0;
    }
    if (exponent10 > 60) {
        exponent10 = 60;  // far beyond the 32-bit range already
    }
    if (exponent10 < -60) {
        return 0;
    }
    // Dividing by an exact power of ten keeps "202.50" at exactly 202.5 (multiplying by an
    // inexact 0.01 could land just above the half).
    const long double scale = std::pow(10.0L, static_cast<long double>(std::labs(exponent10)));
    const long double value = exponent10 < 0 ? mantissa / scale : mantissa * scale;
    return negative ? -value : value;
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
    const long double rounded = std::nearbyint(leadingNumber(text));  // halves to even
    constexpr auto lowest = static_cast<long double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto highest = static_cast<long double>(std::numeric_limits<std::int32_t>::max());
    if (rounded <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (rounded >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

std::string storedValueText(std::int32_t value)
{
    return std::to_string(value);
}

}  // namespace app
