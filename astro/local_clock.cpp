// The local clock seam: the only file of the core that knows how the platform tells the time.
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

}  // namespace

SystemTime readLocalClock()
{
    return clockSource != nullptr ? clockSource() : readPlatformClock();
}

LocalClockSource setLocalClockSource(LocalClockSource source)
{
    LocalClockSource previous = clockSource;
    clockSource = source;
    return previous;
}

}  // namespace astro
