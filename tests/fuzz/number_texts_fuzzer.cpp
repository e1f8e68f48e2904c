// Numbers as texts: numeric masks with any mask and any double, the plain integer text, the
// fraction text, the roundings and the count-down parts. Checked for every input:
//   - formatWithMask: empty for NaN and the infinities; otherwise the length lies within what the
//     mask's grammar allows (each '0', '.', "*c" place and literal always written, each free '#'
//     at most once, plus the integer digits that do not fit and a sign); for masks made only of
//     digit places and a point, the text reads back as the value rounded to the mask's places
//     (the C library's printf rounding as the reference); a negative value differs from its
//     magnitude by one "-" only, inserted or written over a fill character;
//   - plainIntegerText: exact for whole numbers below 1e15, otherwise printf's 15 significant
//     digits; fractionText reads back as roundToFiveDecimals of the value;
//   - roundToFiveDecimals moves a value by at most half a unit of the fifth place (and one step
//     of the double), and a second rounding changes nothing; roundHalfEven is whole, within a
//     half, and even on ties;
//   - the count-down parts of a duration are clock fields and the dial is "hh:mm:ss".
#include "events/countdown.hpp"
#include "events/number_format.hpp"
#include "events/texts.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, double value, std::string_view mask = {},
                       std::string_view text = {})
{
    std::fprintf(
        stderr, "number texts: %s for %.17g (bits %016llx), mask \"%.*s\", text \"%.*s\"\n", what,
        value, static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)),
        static_cast<int>(mask.size()), mask.data(), static_cast<int>(text.size()), text.data());
    std::abort();
}

// What the mask grammar says about the length of a text.
struct MaskShape {
    std::size_t alwaysWritten = 0;  // characters written whatever the value
    std::size_t maybeWritten = 0;   // free '#' places: a digit or nothing
    std::size_t integerPlaces = 0;
    std::size_t decimals = 0;
    bool onlyDigitPlaces = true;  // '0', '#' and at most one '.'
    bool hasMinus = false;        // a '-' in the mask, as a literal or a fill character
};

MaskShape shapeOf(std::string_view mask)
{
    MaskShape shape;
    bool point = false;
    bool filled = false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '0') {
            ++shape.alwaysWritten;
            ++(point ? shape.decimals : shape.integerPlaces);
        } else if (c == '#') {
            ++(point ? shape.decimals : shape.integerPlaces);
            ++(filled && !point ? shape.alwaysWritten : shape.maybeWritten);
        } else if (c == '.' && !point) {
            point = true;
            ++shape.alwaysWritten;
        } else if (c == '*' && i + 1 < mask.size()) {
            const char fill = mask[++i];
            filled = true;
            shape.onlyDigitPlaces = false;
            shape.hasMinus = shape.hasMinus || fill == '-';
            if (point) {
                shape.decimals += 2;
                shape.maybeWritten += 2;
            } else {
                shape.integerPlaces += 2;
                shape.alwaysWritten += 2;
            }
        } else {
            ++shape.alwaysWritten;
            shape.onlyDigitPlaces = false;
            shape.hasMinus = shape.hasMinus || c == '-';
        }
    }
    return shape;
}

// |value| with `decimals` places, by printf.
std::string printfFixed(double magnitude, std::size_t decimals)
{
    const int precision = static_cast<int>(decimals);
    const int length = std::snprintf(nullptr, 0, "%.*f", precision, magnitude);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", precision, magnitude);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::size_t significantIntegerDigits(const std::string& fixed)
{
    const std::string integer = fixed.substr(0, fixed.find('.'));
    const std::size_t first = integer.find_first_not_of('0');
    return first == std::string::npos ? 0 : integer.size() - first;
}

void checkMask(double value, std::string_view mask)
{
    const std::string text = events::formatWithMask(value, mask);
    if (!std::isfinite(value)) {
        if (!text.empty()) {
            fail("a non-finite value has digits", value, mask, text);
        }
        return;
    }
    const MaskShape shape = shapeOf(mask);
    const std::string fixed = printfFixed(std::fabs(value), shape.decimals);
    const std::size_t digits = significantIntegerDigits(fixed);
    const std::size_t overflow = digits > shape.integerPlaces ? digits - shape.integerPlaces : 0;
    const bool visibleSign =
        std::signbit(value) && fixed.find_first_of("123456789") != std::string::npos;
    const std::size_t shortest = shape.alwaysWritten;
    const std::size_t longest = shape.alwaysWritten + shape.maybeWritten + overflow + 1;
    if (text.size() < shortest || text.size() > longest) {
        fail("the text's length is outside what the mask allows", value, mask, text);
    }

    if (shape.onlyDigitPlaces) {
        if (text.find_first_not_of("-0123456789.") != std::string::npos ||
            std::count(text.begin(), text.end(), '-') != (visibleSign ? 1 : 0) ||
            (visibleSign && text.front() != '-')) {
            fail("a digit mask writes something else", value, mask, text);
        }
        const double expected = std::strtod(fixed.c_str(), nullptr);
        const double read = std::fabs(std::strtod(text.c_str(), nullptr));
        if (read != expected) {
            fail("the text does not read back as the rounded value", value, mask, text);
        }
    }

    if (std::signbit(value) && !shape.hasMinus) {
        const std::string magnitudeText = events::formatWithMask(-value, mask);
        if (!visibleSign) {
            if (text != magnitudeText) {
                fail("a value rounding to zero has a sign", value, mask, text);
            }
        } else {
            std::string unsigned_ = text;
            const std::size_t minus = unsigned_.find('-');
            unsigned_.erase(minus, 1);
            const bool inserted = unsigned_ == magnitudeText;
            bool overwritten = text.size() == magnitudeText.size();
            for (std::size_t i = 0; overwritten && i < text.size(); ++i) {
                overwritten = i == minus ? magnitudeText[i] != '-' : text[i] == magnitudeText[i];
            }
            if (std::count(text.begin(), text.end(), '-') != 1 || !(inserted || overwritten)) {
                fail("the negative text is not its magnitude with a sign", value, mask, text);
            }
        }
    }
}

void checkNumberTexts(double value)
{
    const std::string plain = events::plainIntegerText(value);
    const std::string fraction = events::fractionText(value);
    if (!std::isfinite(value)) {
        if (!plain.empty() || !fraction.empty()) {
            fail("a non-finite value has a text", value);
        }
        return;
    }
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        if (plain != std::to_string(static_cast<long long>(value))) {
            fail("a whole number is not written exactly", value, {}, plain);
        }
    } else {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15g", value);
        if (plain != expected) {
            fail("the plain text is not 15 significant digits", value, {}, plain);
        }
    }

    const double rounded = events::roundToFiveDecimals(value);
    if (fraction.empty() || fraction.back() == '.' ||
        std::strtod(fraction.c_str(), nullptr) != rounded) {
        fail("the fraction text does not read back as the rounded value", value, {}, fraction);
    }
    // Half a unit of the fifth place, plus the step to the nearest double of that decimal.
    const double allowed =
        0.000005 + (std::nextafter(std::fabs(value), INFINITY) - std::fabs(value));
    if (!(std::fabs(rounded - value) <= allowed * (1 + 1e-9)) ||
        events::roundToFiveDecimals(rounded) != rounded) {
        fail("roundToFiveDecimals is not a rounding", value);
    }

    const double whole = events::roundHalfEven(value);
    const double distance = std::fabs(whole - value);
    if (whole != std::trunc(whole) || distance > 0.5 ||
        (distance == 0.5 && std::fmod(whole, 2.0) != 0)) {
        fail("roundHalfEven is not a rounding to even", value);
    }
}

void checkDuration(double days)
{
    if (!(days >= 0) || !std::isfinite(days)) {
        events::countdownParts(days);  // no promise for these, but no fault either
        return;
    }
    const events::CountdownParts parts = events::countdownParts(days);
    const bool clock = parts.hours >= 0 && parts.hours <= 23 && parts.minutes >= 0 &&
                       parts.minutes <= 59 && parts.seconds >= 0 && parts.seconds <= 59 &&
                       parts.days == std::floor(days);
    const std::string& dial = parts.dialText;
    const bool dialShape = dial.size() == 8 && dial[2] == ':' && dial[5] == ':' &&
                           std::all_of(dial.begin(), dial.end(),
                                       [](char c) { return c == ':' || (c >= '0' && c <= '9'); });
    if (!clock || !dialShape || parts.hoursText != events::plainIntegerText(parts.hours)) {
        fail("the count-down parts are not clock fields", days, {}, dial);
    }
}

// A double from the input: any bit pattern, or a decimal with few places (where halves and
// exact ties live).
double valueFrom(FuzzedDataProvider& input)
{
    if (input.ConsumeBool()) {
        return std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>());
    }
    const auto units =
        input.ConsumeIntegralInRange<std::int64_t>(-1000000000000000, 1000000000000000);
    const int places = input.ConsumeIntegralInRange(0, 12);
    return static_cast<double>(units) / std::pow(10.0, places);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const double value = valueFrom(input);
    const double duration = valueFrom(input);
    const std::string mask = input.ConsumeRemainingBytesAsString();

    checkMask(value, mask);
    checkMask(value, events::MaskFraction);
    checkNumberTexts(value);
    checkDuration(duration);
    return 0;
}
