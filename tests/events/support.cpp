#include "support.hpp"

#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace events::testing {
std::vector<std::vector<std::string>> dataRows(const std::string& name)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(std::string(LUNAVISTA_TEST_DATA_DIR) + "/" + name);
    if (!in) {
        ADD_FAILURE() << "cannot read " << name;
        return rows;
    }
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream fieldStream(line);
        std::string field;
        while (std::getline(fieldStream, field, ',')) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

astro::SystemTime at(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return astro::wallClockReading(year, month, day, hour, minute, second, ms);
}

astro::SystemTime later(const astro::SystemTime& start, double seconds)
{
    astro::SystemTime t;
    const auto ticks = static_cast<std::int64_t>(std::llround(seconds * 1e7));
    EXPECT_TRUE(astro::ticksToSystemTime(astro::systemTimeToTicks(start) + ticks, t));
    return t;
}

astro::SystemTime readingOf(double dayNumber)
{
    return later(at(1970, 1, 1), (dayNumber - 2440587.0) * SecondsPerDay);
}

bool europeanSummerDay(double dayNumber)
{
    namespace chr = std::chrono;
    const auto days = static_cast<std::int64_t>(std::floor(dayNumber) - 2440587.0);
    const chr::sys_days day{chr::days{days}};
    const int year = static_cast<int>(chr::year_month_day{day}.year());
    const chr::sys_days start{chr::year{year} / chr::March / chr::Sunday[chr::last]};
    const chr::sys_days end{chr::year{year} / (year <= 1995 ? chr::September : chr::October) /
                            chr::Sunday[chr::last]};
    return year >= 1980 && start <= day && day <= end;
}

double displayedReference(double jdTT)
{
    const double dayNumber = jdTT - 0.5;
    return dayNumber + (europeanSummerDay(dayNumber) ? 1.0 / 24 : 0.0);
}

const std::vector<ReferencePhase>& referencePhases()
{
    static const std::vector<ReferencePhase> phases = [] {
        std::vector<ReferencePhase> out;
        for (const auto& row : dataRows("moon_phases.csv")) {
            out.push_back({std::stoi(row.at(0)), std::stod(row.at(1)), row.at(2)});
        }
        std::sort(out.begin(), out.end(),
                  [](const ReferencePhase& a, const ReferencePhase& b) { return a.jdTT < b.jdTT; });
        return out;
    }();
    return phases;
}

const std::vector<ReferenceEclipse>& referenceEclipses()
{
    static const std::vector<ReferenceEclipse> eclipses = [] {
        std::vector<ReferenceEclipse> out;
        for (const auto& row : dataRows("eclipses.csv")) {
            out.push_back({row.at(0), row.at(1), std::stod(row.at(2)), row.at(3)});
        }
        std::sort(out.begin(), out.end(), [](const ReferenceEclipse& a, const ReferenceEclipse& b) {
            return a.jdTT < b.jdTT;
        });
        return out;
    }();
    return eclipses;
}

const std::vector<ReferenceApsis>& referenceApsides()
{
    static const std::vector<ReferenceApsis> apsides = [] {
        std::vector<ReferenceApsis> out;
        for (const auto& row : dataRows("lunar_apsides.csv")) {
            out.push_back(
                {row.at(0) == "perigee", std::stod(row.at(1)), row.at(2), std::stod(row.at(3))});
        }
        std::sort(out.begin(), out.end(),
                  [](const ReferenceApsis& a, const ReferenceApsis& b) { return a.jdTT < b.jdTT; });
        return out;
    }();
    return apsides;
}

const std::set<std::pair<std::string, std::string>>& borderlineEclipses()
{
    static const std::set<std::pair<std::string, std::string>> dates = [] {
        std::set<std::pair<std::string, std::string>> out;
        for (const auto& row : dataRows("eclipse_borderline.csv")) {
            out.insert({row.at(0), row.at(1)});
        }
        return out;
    }();
    return dates;
}

std::string isoDateOf(double julianDay)
{
    namespace chr = std::chrono;
    const auto days = static_cast<std::int64_t>(std::floor(julianDay + 0.5) - 2440588.0);
    const chr::year_month_day date{chr::sys_days{chr::days{days}}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

#ifndef _WIN32
ZoneGuard::ZoneGuard(const char* zone)
{
    if (const char* previous = std::getenv("TZ")) {
        previous_ = previous;
        hadZone_ = true;
    }
    setenv("TZ", zone, 1);
    tzset();
}

ZoneGuard::~ZoneGuard()
{
    if (hadZone_) {
        setenv("TZ", previous_.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}
#endif

}  // namespace events::testing
