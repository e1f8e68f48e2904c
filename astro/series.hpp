// Helpers shared by the series of the phase and eclipse computations, and the one search loop of
// the next-event searches.
#pragma once

#include "astro/lunar_phases.hpp"
#include "astro/system_time.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace astro {

// Many constants of the series are kept in single precision and widened where they are used;
// writing them as float literals passed through widen() keeps that rounding visible.
constexpr double widen(float value)
{
    return static_cast<double>(value);
}

// The lunation estimate of a search's pass: the day `dayOffset` days from the date, 1.25
// lunations back. A series takes the lunation floor(k) of it.
inline double searchLunation(std::int32_t year, const SystemTime& date, std::int32_t dayOffset)
{
    return approximateLunation(year, date, dayOffset) - 1.25;
}

// First day offset for the next-event searches. They step one day at a time from 1.25 lunations
// before the date. The lunation estimate counts 12.3685 lunations per 365-day year, which is
// 365.2491 days against the calendar's 365.2425: it runs ahead by a day every 150 years, so from
// about the year 4000 on the start would lie after `now` and events would be skipped. While the
// start lunation's instant (less the search margin) is not yet before the midnight of `now`
// (`startsTooLate` of the estimate tells), the start moves back by 31 days (always at least one
// lunation). Near 2000 the first look already succeeds and the search runs exactly as it always
// did.
template <typename StartsTooLate>
std::int32_t earliestStartOffset(std::int32_t year, const SystemTime& date,
                                 StartsTooLate startsTooLate)
{
    std::int32_t offset = 0;
    while (startsTooLate(searchLunation(year, date, offset))) {
        offset -= 31;
    }
    return offset;
}

// Whether adjust(instant) >= midnight, for the instant of a lunation's series that lies within
// `range` and that `instant()` computes. `adjust` (taking a margin off) never decreases, being
// made of correctly rounded additions, so where both ends of the range give the same answer the
// instant gives it too and is not computed.
template <typename Adjust, typename Instant>
bool atOrAfterMidnight(double midnight, const InstantRange& range, Adjust adjust, Instant instant)
{
    if (adjust(range.earliest) >= midnight) {
        return true;
    }
    if (!(adjust(range.latest) >= midnight)) {
        return false;
    }
    return adjust(instant()) >= midnight;
}

// A series of one lunation (newMoonInstant, eclipseInstant, ...) that is evaluated only when the
// lunation differs from the one of the previous call. Each series replaces k by floor(k) plus its
// phase fraction before it computes anything, so every k of one lunation gives the same bits:
// the previous result is the result. Made afresh for every search.
template <typename Series>
class OncePerLunation {
public:
    explicit OncePerLunation(Series series) : series_(std::move(series)) {}

    double operator()(double k)
    {
        const double lunation = std::floor(k);
        if (lunation != lunation_) {  // always for the first call (NaN)
            instant_ = series_(k);
            lunation_ = lunation;
        }
        return instant_;
    }

private:
    Series series_;
    double lunation_ = std::numeric_limits<double>::quiet_NaN();
    double instant_ = 0.0;
};

// The pass a search stopped at.
struct SearchResult {
    double instant;  // what the series gave for it
    int passes;      // passes counted from the first, this one included
};

// The first day after `offset` whose estimate lies in a later lunation than `k`, the estimate of
// `offset`, and that estimate. The estimate never falls from one day to the next: each step of
// approximateLunation (adding the day, dividing by 365, adding the year, scaling by a positive
// constant) is a correctly rounded operation that keeps the order of its operand, and so does
// floor. The days in between therefore all lie in lunation floor(k). The estimate grows by
// 12.3685 / 365 of a lunation a day, which gives the first guess; the estimates themselves then
// settle on the first such day.
struct NextLunationDay {
    std::int32_t offset;
    double k;
};

inline NextLunationDay nextLunationDay(std::int32_t year, const SystemTime& date,
                                       std::int32_t offset, double k)
{
    constexpr double DaysPerLunation = 365.0 / widen(12.3685f);
    const double lunation = std::floor(k);
    const double guess = std::ceil((lunation + 1 - k) * DaysPerLunation);
    const double days = guess >= 1.0 ? std::min(guess, 31.0) : 1.0;
    NextLunationDay next{offset + static_cast<std::int32_t>(days), 0.0};
    next.k = searchLunation(year, date, next.offset);
    while (std::floor(next.k) <= lunation) {
        ++next.offset;
        next.k = searchLunation(year, date, next.offset);
    }
    while (next.offset - 1 > offset) {
        const double earlier = searchLunation(year, date, next.offset - 1);
        if (std::floor(earlier) <= lunation) {
            break;
        }
        --next.offset;
        next.k = earlier;
    }
    return next;
}

// The search loop of every next-event search. Pass after pass, a day later each time, from the
// day earliestStartOffset gives (with `startsTooLate`), until `stopsAt` of the day's estimate
// gives an instant. Both must answer alike for every estimate of one lunation, as the series do.
// Then only the first day of each lunation needs a look, and the days after it are counted
// without one: the search stops at the pass, with the instant and the pass count, of stepping
// through every day.
template <typename StartsTooLate, typename StopsAt>
SearchResult searchLunations(std::int32_t year, const SystemTime& date, StartsTooLate startsTooLate,
                             StopsAt stopsAt)
{
    const std::int32_t first = earliestStartOffset(year, date, startsTooLate);
    NextLunationDay day{first, searchLunation(year, date, first)};
    for (;;) {
        const std::optional<double> instant = stopsAt(day.k);
        if (instant) {
            return {*instant, day.offset - first + 1};
        }
        day = nextLunationDay(year, date, day.offset, day.k);
    }
}

}  // namespace astro
