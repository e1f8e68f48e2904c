// Helpers of the event tests: readings, an independent summer-time rule, and the reference
// instants in tests/data (computed with astronomy-engine, see the files' headers): every
// principal phase, every eclipse and every perigee and apogee of 1900-2100, in Terrestrial Time
// and in Universal Time.
#pragma once

#include "astro/system_time.hpp"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace events::testing {

constexpr double SecondsPerDay = 86400.0;

// A local reading.
astro::SystemTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                     int ms = 0);

// The reading `seconds` after `start` (through the tick count, so any span works).
astro::SystemTime later(const astro::SystemTime& start, double seconds);

// The reading whose day number is nearest to `dayNumber` (millisecond resolution).
astro::SystemTime readingOf(double dayNumber);

// Whether the calendar day of a day number lies in the European summer-time period, by the
// standard library's calendar: last Sunday of March to last Sunday of September (to 1995) or
// October (from 1996), none before 1980.
bool europeanSummerDay(double dayNumber);

// The rows of a comma-separated file in tests/data, split at the commas, without its '#'
// comment lines and its header line. Empty (with a test failure) when the file cannot be read.
std::vector<std::vector<std::string>> dataRows(const std::string& name);

// A reference instant (JD, TT) as the lists would show it: day number plus the summer hour.
double displayedReference(double jdTT);

struct ReferencePhase {
    int kind;         // 0 New Moon, 1 First Quarter, 2 Full Moon, 3 Last Quarter
    double jdTT;      // Julian Day, Terrestrial Time
    std::string utc;  // the same instant in the library's Universal Time, ISO 8601
};

struct ReferenceEclipse {
    std::string body;  // "solar" or "lunar"
    std::string kind;  // "partial", "total", "annular", "penumbral"
    double jdTT;
    std::string utc;
};

struct ReferenceApsis {
    bool perigee;  // else apogee
    double jdTT;
    std::string utc;
    double distanceKm;
};

// Sorted by instant. Empty (with a test failure) when a file cannot be read.
const std::vector<ReferencePhase>& referencePhases();
const std::vector<ReferenceEclipse>& referenceEclipses();
const std::vector<ReferenceApsis>& referenceApsides();

// (date "YYYY-MM-DD", body) of the eclipses where this program's kinds and the reference's
// disagree for a known reason (tests/data/eclipse_borderline.csv).
const std::set<std::pair<std::string, std::string>>& borderlineEclipses();

// The Gregorian date "YYYY-MM-DD" of a Julian Day (TT or UT alike, to the day).
std::string isoDateOf(double julianDay);

#ifndef _WIN32
// TZ set to a zone of the tz database for the guard's lifetime, then restored (the C library's
// zone; the Windows runtime has no tz database).
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone);
    ~ZoneGuard();
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    std::string previous_;
    bool hadZone_ = false;
};
#endif

}  // namespace events::testing
