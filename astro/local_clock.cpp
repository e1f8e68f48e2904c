// The local clock seam: the only file of the core that knows how the platform tells the time and
// its time zone.
#include "astro/system_time.hpp"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <ctime>
#endif

namespace astro {
namespace {

SystemTime readPlatformClock()
{
    SystemTime reading;
#ifdef _WIN32
    SYSTEMTIME st;
    GetLocalTime(&st);
    reading.wYear = st.wYear;
    reading.wMonth = st.wMonth;
    reading.wDayOfWeek = st.wDayOfWeek;
    reading.wDay = st.wDay;
    reading.wHour = st.wHour;
    reading.wMinute = st.wMinute;
    reading.wSecond = st.wSecond;
    reading.wMilliseconds = st.wMilliseconds;
#else
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    reading.wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
    reading.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
    reading.wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    reading.wDay = static_cast<std::uint16_t>(local.tm_mday);
    reading.wHour = static_cast<std::uint16_t>(local.tm_hour);
    reading.wMinute = static_cast<std::uint16_t>(local.tm_min);
    // A leap second (tm_sec 60) is folded onto 59: SYSTEMTIME has no place for it.
    reading.wSecond = static_cast<std::uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    reading.wMilliseconds = static_cast<std::uint16_t>(ts.tv_nsec / 1000000);
#endif
    return reading;
}

LocalClockSource clockSource = nullptr;

#ifdef _WIN32
constexpr std::int64_t TicksPerSecond = 10000000;
constexpr std::int64_t SecondsFrom1601To1970 = 11644473600;

bool systemTimeOfTicks(std::int64_t ticks, SYSTEMTIME& st)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
    return ticks >= 0 && FileTimeToSystemTime(&ft, &st);
}

bool ticksOfSystemTime(const SYSTEMTIME& st, std::int64_t& ticks)
{
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft)) {
        return false;
    }
    ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) |
                                      ft.dwLowDateTime);
    return true;
}

// The system's zone, read once: a process lives far shorter than a zone's rules.
DYNAMIC_TIME_ZONE_INFORMATION& systemZone()
{
    static DYNAMIC_TIME_ZONE_INFORMATION zone = [] {
        DYNAMIC_TIME_ZONE_INFORMATION z{};
        if (GetDynamicTimeZoneInformation(&z) == TIME_ZONE_ID_INVALID) {
            z = DYNAMIC_TIME_ZONE_INFORMATION{};
        }
        return z;
    }();
    return zone;
}

// The zone's rules of one year (its dynamic summer time), the last year asked for kept: a
// search over days asks for the same year again and again, and each answer reads the registry.
bool zoneRulesOfYear(WORD year, TIME_ZONE_INFORMATION& rules)
{
    thread_local WORD cachedYear = 0;
    thread_local TIME_ZONE_INFORMATION cached{};
    if (year != cachedYear) {
        if (!GetTimeZoneInformationForYear(year, &systemZone(), &cached)) {
            cachedYear = 0;
            return false;
        }
        cachedYear = year;
    }
    rules = cached;
    return true;
}

// The local reading of a UTC reading by the rules of a year.
bool localOfUtc(WORD year, const SYSTEMTIME& utc, SYSTEMTIME& local)
{
    TIME_ZONE_INFORMATION rules;
    return zoneRulesOfYear(year, rules) && SystemTimeToTzSpecificLocalTime(&rules, &utc, &local);
}
#endif

}  // namespace

SystemTime readLocalClock()
{
    return clockSource != nullptr ? clockSource() : readPlatformClock();
}

std::int32_t localUtcOffsetSeconds(std::int64_t utcSeconds)
{
#ifdef _WIN32
    // Bias is UTC minus local, in minutes.
    const std::int32_t standard = -static_cast<std::int32_t>(systemZone().Bias) * 60;
    SYSTEMTIME utc;
    SYSTEMTIME local;
    std::int64_t localTicks = 0;
    const std::int64_t utcTicks = (utcSeconds + SecondsFrom1601To1970) * TicksPerSecond;
    // A year's rules speak of its local dates: at New Year the UTC date's year may be the wrong
    // one. (SystemTimeToTzSpecificLocalTimeEx does both in one call, but Wine 8 lacks it.)
    if (!systemTimeOfTicks(utcTicks, utc) || !localOfUtc(utc.wYear, utc, local) ||
        (local.wYear != utc.wYear && !localOfUtc(local.wYear, utc, local)) ||
        !ticksOfSystemTime(local, localTicks)) {
        return standard;
    }
    return static_cast<std::int32_t>((localTicks - utcTicks) / TicksPerSecond);
#else
    const auto instant = static_cast<std::time_t>(utcSeconds);
    std::tm local{};
    if (localtime_r(&instant, &local) == nullptr) {
        return 0;
    }
    return static_cast<std::int32_t>(local.tm_gmtoff);
#endif
}

LocalClockSource setLocalClockSource(LocalClockSource source)
{
    LocalClockSource previous = clockSource;
    clockSource = source;
    return previous;
}

}  // namespace astro
