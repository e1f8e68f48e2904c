// Helpers shared by the series of the phase and eclipse computations.
#pragma once

#include "astro/lunar_phases.hpp"
#include "astro/system_time.hpp"

#include <cstdint>

namespace astro {

// Many constants of the series are kept in single precision and widened where they are used;
// writing them as float literals passed through widen() keeps that rounding visible.
constexpr double widen(float value)
{
    return static_cast<double>(value);
}

// First day offset for the next-event searches. They step one day at a time from 1.25 lunations
// before the date. The lunation estimate counts 12.3685 lunations per 365-day year, which is
// 365.2491 days against the calendar's 365.2425: it runs ahead by a day every 150 years, so from
// about the year 4000 on the start would lie after `now` and events would be skipped. While the
// start lunation's instant (less the search margin, as `startInstant` gives it) is not yet before
// `midnight`, the start moves back by 31 days (always at least one lunation). Near 2000 the
// first look already succeeds and the search runs exactly as it always did.
template <typename StartInstant>
std::int32_t earliestStartOffset(std::int32_t year, const SystemTime& date, double midnight,
                                 StartInstant startInstant)
{
    std::int32_t offset = 0;
    while (startInstant(approximateLunation(year, date, offset) - 1.25) >= midnight) {
        offset -= 31;
    }
    return offset;
}

}  // namespace astro
