// Reading a number back from the window-position file. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// A stored value as the store reads it: NUL and blank characters are stripped at both ends; an
// empty result is a missing value (nullopt). Otherwise the value is the number the text starts
// with (sign, digits, decimal point, exponent), rounded to the nearest integer with halves to
// even, and clamped to the 32-bit range; a text that does not start with a number gives 0.
std::optional<std::int32_t> parseStoredValue(std::string_view text);

// The text a value is written as: decimal, "-" before a negative value, no blanks.
std::string storedValueText(std::int32_t value);

}  // namespace app
