// Numbers as the program writes them: numeric masks, the plain integer text of the count-down
// labels, the text of the illuminated fraction, and the roundings behind them.
//
// Every text uses "." as the decimal point, whatever the user's locale, and no thousands
// separators. Not-a-number and infinities have no digits and give the empty text.
#pragma once

#include <string>
#include <string_view>

namespace events {

// The masks this program writes its numbers with.
inline constexpr std::string_view MaskTwoDigits = "00";        // clock fields: 7 -> "07"
inline constexpr std::string_view MaskTwoDigitsPoint = "00.";  // day and month: 5 -> "05."
inline constexpr std::string_view MaskYear = "0000";           // 800 -> "0800", 12025 -> "12025"
inline constexpr std::string_view MaskBlankTwo = "* ";         // 5 -> " 5", 0 -> "  "
inline constexpr std::string_view MaskBlankThree = "* #";      // 5 -> "  5", 0 -> "   "
inline constexpr std::string_view MaskFraction = "#0.#####";   // 0.5 -> "0.5", 100 -> "100."

// Writes `value` through a numeric mask:
//   '0'   a digit position that is always written (unfilled leading positions show "0");
//   '#'   a digit position written only where the number has a significant digit (no leading
//         zeros before the point, no trailing zeros after it);
//   '.'   the decimal point, written even when no decimal digit follows;
//   '*c'  two '#' positions whose unwritten places show the character c; a '#' after it in the
//         same mask gets the same fill;
//   anything else is copied as it stands.
// The value is rounded to the mask's decimal places (ties to even, on its exact binary value).
// A number with more integer digits than the mask has positions is written in full. A negative
// value that does not round to zero gets a "-" just before its first digit (taking the place of
// the last fill character before it, so a right-aligned field keeps its width where it can).
std::string formatWithMask(double value, std::string_view mask);

// Decimal digits with a leading "-" for a negative number, no padding and no separators; whole
// numbers of up to 15 digits are written exactly, larger magnitudes with 15 significant digits
// and an exponent ("1e+15"). -0 is written "0".
std::string plainIntegerText(double value);

// A distance as the Moon data page writes its distances ("406740 km"): the nearest whole number
// of kilometres (roundHalfEven) in plain digits, a blank and "km". Empty for NaN and the
// infinities.
std::string kilometresText(double kilometres);

// The illuminated fraction in percent as the gauge shows it: the mask "#0.#####" without a
// trailing point. 100 -> "100", 0 -> "0", 3.1 -> "3.1", 45.12346 -> "45.12346".
std::string fractionText(double value);

// The nearest whole number, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2): the rule for every
// real value the program stores into an integer. It does not depend on the floating-point
// rounding mode (which a DLL loaded into the process could have changed). Zeros keep their sign;
// NaN and the infinities come back as they are.
double roundHalfEven(double value);

// roundHalfEven as an int, for values within the int range.
int nearestInt(double value);

// The value rounded to five decimal places, halves to even: the decimal number with five
// places nearest to the exact binary value, returned as the double nearest to that decimal.
double roundToFiveDecimals(double value);

}  // namespace events
