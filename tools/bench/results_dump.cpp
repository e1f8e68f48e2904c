// Fingerprints of everything the astronomical core and the event logic compute, bit for bit, so
// that a change made for speed can be shown to leave every result as it was: build this before
// and after the change (natively and for Windows, whose sine and cosine differ from glibc's) and
// compare the printed lines.
//
//   results_dump [--full FILE]
//
// Each line names a group of results, how many values it holds and an FNV-1a hash of their bit
// patterns; --full writes every value as hexadecimal bits, one per line, for a diff.
#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"
#include "events/current_phase.hpp"
#include "events/event_sets.hpp"
#include "events/lists.hpp"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::FILE* full = nullptr;

class Fingerprint {
public:
    explicit Fingerprint(const char* name) : name_(name) {}
    ~Fingerprint()
    {
        std::printf("%-28s %9llu values  %016" PRIx64 "\n", name_,
                    static_cast<unsigned long long>(count_), hash_);
    }
    Fingerprint(const Fingerprint&) = delete;
    Fingerprint& operator=(const Fingerprint&) = delete;

    void add(double value)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        addBytes(&bits, sizeof bits);
        if (full != nullptr) {
            std::fprintf(full, "%s %016" PRIx64 "\n", name_, bits);
        }
        ++count_;
    }
    void add(const std::string& text)
    {
        addBytes(text.data(), text.size());
        if (full != nullptr) {
            std::fprintf(full, "%s %s\n", name_, text.c_str());
        }
        ++count_;
    }

private:
    void addBytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001B3ULL;
        }
    }

    const char* name_;
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
    std::uint64_t count_ = 0;
};

astro::SystemTime readingOfTicks(std::int64_t ticks)
{
    astro::SystemTime reading;
    astro::ticksToSystemTime(ticks, reading);
    return reading;
}

constexpr std::int64_t TicksPerHour = 3600LL * 10000000LL;
constexpr std::int64_t TicksPerDay = 24 * TicksPerHour;

// Lunations -1500 .. 2500 (1879 to 2202), every fifth one also with a fractional k, and a few far
// outside, where the arguments reach hundreds of thousands of degrees.
template <typename Visit>
void forEachLunation(Visit visit)
{
    for (int n = -1500; n <= 2500; ++n) {
        visit(static_cast<double>(n));
        if (n % 5 == 0) {
            visit(n + 0.37);
        }
    }
    for (double k : {-250000.0, -74000.25, -12345.6, 40000.0, 123456.5, 250000.75}) {
        visit(k);
    }
}

void phaseInstants()
{
    Fingerprint print("phase instants");
    forEachLunation([&](double lunation) {
        double k = lunation;
        print.add(astro::newMoonInstant(k));
        print.add(k);
        k = lunation;
        print.add(astro::quarterInstant(k, astro::FirstQuarterFraction));
        k = lunation;
        print.add(astro::fullMoonInstant(k));
        k = lunation;
        print.add(astro::quarterInstant(k, astro::LastQuarterFraction));
    });
}

void eclipseInstants()
{
    Fingerprint print("eclipse instants");
    forEachLunation([&](double lunation) {
        for (double fraction : {astro::NewMoonFraction, astro::FullMoonFraction}) {
            for (auto kind : {astro::EclipseKind::Partial, astro::EclipseKind::Total,
                              astro::EclipseKind::Annular}) {
                double k = lunation;
                print.add(astro::eclipseInstant(k, fraction, kind));
                print.add(k);
            }
        }
    });
}

// The searches from every third day of 1990-2060 at 13:00, and from every 97th day of years far
// from the present.
template <typename Visit>
void forEachSearchStart(Visit visit)
{
    const std::int64_t from = astro::systemTimeToTicks({1990, 1, 0, 1, 13, 0, 0, 0});
    const std::int64_t to = astro::systemTimeToTicks({2061, 1, 0, 1, 0, 0, 0, 0});
    for (std::int64_t ticks = from; ticks < to; ticks += 3 * TicksPerDay) {
        visit(readingOfTicks(ticks));
    }
    for (int year : {1601, 1700, 1850, 2300, 3000, 4500, 9999, 30000}) {
        const std::int64_t start =
            astro::systemTimeToTicks({static_cast<std::uint16_t>(year), 1, 0, 1, 13, 0, 0, 0});
        for (int day = 0; day < 365; day += 97) {
            visit(readingOfTicks(start + day * TicksPerDay));
        }
    }
}

void phaseSearches()
{
    Fingerprint print("phase searches");
    forEachSearchStart([&](const astro::SystemTime& reading) {
        const double now = astro::dayNumberOf(reading);
        int passes = 0;
        for (auto search : {astro::nextNewMoon, astro::nextFirstQuarter, astro::nextFullMoon,
                            astro::nextLastQuarter}) {
            print.add(search(reading.wYear, reading, now, &passes));
            print.add(passes);
        }
    });
}

void eclipseSearches()
{
    Fingerprint print("eclipse searches");
    forEachSearchStart([&](const astro::SystemTime& reading) {
        const double now = astro::dayNumberOf(reading);
        int passes = 0;
        for (auto kind : {astro::EclipseKind::Partial, astro::EclipseKind::Total}) {
            print.add(astro::nextLunarEclipse(reading.wYear, reading, now, kind, &passes));
            print.add(passes);
        }
        for (auto kind : {astro::EclipseKind::Partial, astro::EclipseKind::Total,
                          astro::EclipseKind::Annular}) {
            print.add(astro::nextSolarEclipse(reading.wYear, reading, now, kind, &passes));
            print.add(passes);
        }
    });
}

// What the window shows: every 7 hours of 2024-2026 (all times of day come round), the lit
// fraction, the nearest phase with its count-down, the pointer's sets and both lists.
void windowContents()
{
    Fingerprint print("refresh and lists");
    const std::int64_t from = astro::systemTimeToTicks({2024, 1, 0, 1, 0, 0, 0, 0});
    const std::int64_t to = astro::systemTimeToTicks({2027, 1, 0, 1, 0, 0, 0, 0});
    for (std::int64_t ticks = from; ticks < to; ticks += 7 * TicksPerHour + 1234567) {
        const astro::SystemTime reading = readingOfTicks(ticks);
        const double julianDay = astro::julianDayOf(reading);
        print.add(events::gaugeValue(julianDay));
        print.add(events::illuminatedFraction(julianDay));
        for (double distance : events::phaseDistances(reading)) {
            print.add(distance);
        }
        for (double instant : events::nextPhasesFromTomorrow(reading).instants) {
            print.add(instant);
        }
        for (const auto& entry : events::upcomingPhaseList(reading).entries) {
            print.add(entry.instant);
            print.add(entry.headingText + entry.dayCountText + entry.dateText);
        }
        for (const auto& entry : events::upcomingEclipseList(reading).entries) {
            print.add(entry.instant);
            print.add(entry.headingText + entry.dayCountText + entry.dateText);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--full") == 0) {
        full = std::fopen(argv[2], "w");
        if (full == nullptr) {
            std::perror(argv[2]);
            return 1;
        }
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: results_dump [--full FILE]\n");
        return 2;
    }
    phaseInstants();
    eclipseInstants();
    phaseSearches();
    eclipseSearches();
    windowContents();
    if (full != nullptr) {
        std::fclose(full);
    }
    return 0;
}
