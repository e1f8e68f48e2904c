#include "events/number_format.hpp"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <vector>

namespace events {
namespace {

struct IntegerPosition {
    bool always;  // '0'
    bool filled;  // '#' after "*c": unwritten places show `fill`
    char fill;
};

enum class TokenKind { Integer, Point, Fraction, Literal };

struct Token {
    TokenKind kind;
    std::size_t index;  // position number within its part
    char literal;
};

struct ParsedMask {
    std::vector<Token> tokens;
    std::vector<IntegerPosition> integerPositions;
    std::vector<bool> fractionAlways;  // true for '0', false for '#'
    bool hasPoint = false;
};

ParsedMask parseMask(std::string_view mask)
{
    ParsedMask parsed;
    bool filled = false;
    char fill = ' ';
    auto addDigitPosition = [&](bool always) {
        if (parsed.hasPoint) {
            parsed.tokens.push_back({TokenKind::Fraction, parsed.fractionAlways.size(), '\0'});
            parsed.fractionAlways.push_back(always);
        } else {
            parsed.tokens.push_back({TokenKind::Integer, parsed.integerPositions.size(), '\0'});
            parsed.integerPositions.push_back({always, !always && filled, fill});
        }
    };
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '0' || c == '#') {
            addDigitPosition(c == '0');
        } else if (c == '.' && !parsed.hasPoint) {
            parsed.hasPoint = true;
            parsed.tokens.push_back({TokenKind::Point, 0, '\0'});
        } else if (c == '*' && i + 1 < mask.size()) {
            filled = true;
            fill = mask[++i];
            addDigitPosition(false);
            addDigitPosition(false);
        } else {
            parsed.tokens.push_back({TokenKind::Literal, 0, c});
        }
    }
    return parsed;
}

// The exact decimal expansion of |value| rounded to `decimals` places (ties to even).
std::string fixedDigits(double magnitude, std::size_t decimals)
{
    // The largest double has 309 integer digits.
    std::string buffer(320 + decimals, '\0');
    for (;;) {
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::fixed, static_cast<int>(decimals));
        if (result.ec == std::errc{}) {
            buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string formatWithMask(double value, std::string_view mask)
{
    if (!std::isfinite(value)) {
        return {};
    }
    const ParsedMask parsed = parseMask(mask);
    const std::size_t decimals = parsed.fractionAlways.size();

    const std::string digits = fixedDigits(std::fabs(value), decimals);
    const std::size_t point = digits.find('.');
    std::string integerDigits = digits.substr(0, point);
    const std::string fractionDigits =
        point == std::string::npos ? std::string() : digits.substr(point + 1);
    integerDigits.erase(0, integerDigits.find_first_not_of('0'));  // "0" has none

    // Trailing zeros stand only in '0' positions.
    std::size_t writtenDecimals = decimals;
    while (writtenDecimals > 0 && !parsed.fractionAlways[writtenDecimals - 1] &&
           fractionDigits[writtenDecimals - 1] == '0') {
        --writtenDecimals;
    }
    const bool negative =
        std::signbit(value) &&
        (!integerDigits.empty() || fractionDigits.find_first_not_of('0') != std::string::npos);

    const std::size_t positions = parsed.integerPositions.size();
    const std::size_t length = integerDigits.size();
    const std::size_t unfilled = positions > length ? positions - length : 0;
    const std::size_t overflow = length > positions ? length - positions : 0;

    std::string out;
    std::size_t numberStart = std::string::npos;  // where the sign goes
    bool fillBeforeNumber = false;
    bool lastWasFill = false;
    auto markNumber = [&] {
        if (numberStart == std::string::npos) {
            numberStart = out.size();
            fillBeforeNumber = lastWasFill;
        }
        lastWasFill = false;
    };

    for (const Token& token : parsed.tokens) {
        switch (token.kind) {
        case TokenKind::Integer: {
            const std::size_t j = token.index;
            if (j == 0 && overflow > 0) {
                markNumber();
                out.append(integerDigits, 0, overflow);  // the field grows to the left
            }
            if (j >= unfilled) {
                markNumber();
                out += integerDigits[overflow + j - unfilled];
            } else if (parsed.integerPositions[j].always) {
                markNumber();
                out += '0';
            } else if (parsed.integerPositions[j].filled) {
                out += parsed.integerPositions[j].fill;
                lastWasFill = true;
            }
            break;
        }
        case TokenKind::Point:
            if (positions == 0 && length > 0) {
                markNumber();
                out += integerDigits;
            }
            markNumber();
            out += '.';
            break;
        case TokenKind::Fraction:
            if (token.index < writtenDecimals) {
                markNumber();
                out += fractionDigits[token.index];
            }
            break;
        case TokenKind::Literal:
            out += token.literal;
            lastWasFill = false;
            break;
        }
    }
    if (positions == 0 && !parsed.hasPoint && length > 0) {
        markNumber();
        out += integerDigits;
    }

    if (negative) {
        if (numberStart == std::string::npos) {
            numberStart = out.size();
        }
        if (fillBeforeNumber) {
            out[numberStart - 1] = '-';
        } else {
            out.insert(numberStart, 1, '-');
        }
    }
    return out;
}

std::string plainIntegerText(double value)
{
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0) {
        return "0";  // also for -0
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string kilometresText(double kilometres)
{
    if (!std::isfinite(kilometres)) {
        return {};
    }
    return plainIntegerText(roundHalfEven(kilometres)) + " km";
}

std::string fractionText(double value)
{
    std::string text = formatWithMask(value, MaskFraction);
    if (!text.empty() && text.back() == '.') {
        text.erase(text.find_last_not_of('.') + 1);
    }
    return text;
}

double roundHalfEven(double value)
{
    const double whole = std::floor(value);
    const double fraction = value - whole;  // NaN for the infinities, which stay as they are
    double rounded = whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        rounded = whole + 1.0;
    }
    if (std::isinf(value)) {
        return value;
    }
    return rounded == 0.0 ? std::copysign(0.0, value) : rounded;
}

int nearestInt(double value)
{
    return static_cast<int>(roundHalfEven(value));
}

double roundToFiveDecimals(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    const std::string digits = fixedDigits(std::fabs(value), 5);
    double magnitude = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    return std::signbit(value) ? -magnitude : magnitude;
}

}  // namespace events
