#include "app/stored_value.hpp"

#include "events/lenient_number.hpp"

#include <cstdint>
#include <string>

namespace app {
namespace {

bool isStripped(char c)
{
    return c == '\0' || c == ' ';
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
    return events::roundedToInt32(events::readLeadingNumber(text));
}

std::string storedValueText(std::int32_t value)
{
    return std::to_string(value);
}

}  // namespace app
