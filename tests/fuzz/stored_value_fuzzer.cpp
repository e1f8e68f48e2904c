// The window-position store reads back whatever text the INI file holds (up to 259 bytes through
// the platform, any length here). Checked for every input:
//   - a missing value exactly when nothing but NUL and blanks is there;
//   - for a text that starts with a plain decimal number, "[+-]digits[.digits]", the value that
//     exact digit arithmetic gives: rounded half to even, clamped to 32 bits;
//   - for a number with an exponent, the value of the C library's strtod where that is not
//     within a hair of a half or of the clamp limits;
//   - nothing after the number counts: appending a letter changes nothing;
//   - every 32-bit value written by the store reads back as itself.
#include "app/stored_value.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

[[noreturn]] void fail(const char* what, std::string_view text)
{
    std::fprintf(stderr, "stored value: %s for the text \"", what);
    for (const char c : text) {
        std::fprintf(stderr, "\\x%02X", static_cast<unsigned char>(c));
    }
    std::fprintf(stderr, "\"\n");
    std::abort();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view stripped(std::string_view text)
{
    const auto blank = [](char c) { return c == '\0' || c == ' '; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

struct NumberPrefix {
    bool found = false;        // at least one digit
    bool hasExponent = false;  // "e" or "E" with at least one exponent digit
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    std::size_t length = 0;  // of the whole prefix
};

NumberPrefix numberPrefix(std::string_view text)
{
    NumberPrefix prefix;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        prefix.negative = text[i] == '-';
        ++i;
    }
    const std::size_t integerStart = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    prefix.integerDigits = text.substr(integerStart, i - integerStart);
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        prefix.fractionDigits = text.substr(fractionStart, i - fractionStart);
    }
    prefix.found = !prefix.integerDigits.empty() || !prefix.fractionDigits.empty();
    if (prefix.found && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            prefix.hasExponent = true;
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    prefix.length = i;
    return prefix;
}

// A plain decimal rounded half to even and clamped, with nothing but digit arithmetic.
std::int32_t plainDecimalValue(const NumberPrefix& prefix)
{
    std::uint64_t magnitude = 0;
    for (const char c : prefix.integerDigits) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > (std::uint64_t{1} << 40)) {
            magnitude = std::uint64_t{1} << 40;  // far beyond 32 bits; stays there
        }
    }
    const std::string_view fraction = prefix.fractionDigits;
    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool beyondHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1))) {
            ++magnitude;
        }
    }
    const auto value = prefix.negative ? -static_cast<std::int64_t>(magnitude)
                                       : static_cast<std::int64_t>(magnitude);
    if (value < Lowest) {
        return Lowest;
    }
    if (value > Highest) {
        return Highest;
    }
    return static_cast<std::int32_t>(value);
}

// A number with an exponent, through strtod: nullopt where a double cannot tell the answer
// (within 1e-6 of a half, or near the clamp limits) or where the text is too long to trust.
std::optional<std::int32_t> exponentValue(std::string_view number)
{
    if (number.size() > 40) {
        return std::nullopt;
    }
    const std::string text(number);
    const double value = std::strtod(text.c_str(), nullptr);
    if (value >= 2147483648.0) {
        return Highest;
    }
    if (value <= -2147483649.0) {
        return Lowest;
    }
    const double distanceToHalf = std::fabs(value - std::floor(value) - 0.5);
    if (!(distanceToHalf > 1e-6) || std::fabs(value) > 2147483000.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::lround(value));
}

void checkText(std::string_view text)
{
    const std::optional<std::int32_t> value = app::parseStoredValue(text);
    const std::string_view content = stripped(text);
    if (content.empty() != !value.has_value()) {
        fail("missing value and blank text disagree", text);
    }
    if (!value) {
        return;
    }

    const NumberPrefix prefix = numberPrefix(content);
    if (!prefix.found) {
        if (*value != 0) {
            fail("a text without a number is not 0", text);
        }
    } else if (!prefix.hasExponent) {
        if (*value != plainDecimalValue(prefix)) {
            fail("the plain decimal is read wrongly", text);
        }
    } else if (const auto expected = exponentValue(content.substr(0, prefix.length))) {
        if (*value != *expected) {
            fail("the number with an exponent is read wrongly", text);
        }
    }

    // Nothing after the number counts.
    const std::string longer = std::string(text) + "x";
    if (app::parseStoredValue(longer) != value) {
        fail("a letter after the text changes the value", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkText(text);

    if (size >= 4) {
        std::int32_t written = 0;
        std::memcpy(&written, data, sizeof written);
        const std::string stored = app::storedValueText(written);
        if (app::parseStoredValue(stored) != written) {
            fail("a written value does not read back", stored);
        }
    }
    return 0;
}
