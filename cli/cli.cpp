#include "cli/cli.hpp"

#include "cli/arguments.hpp"
#include "cli/output_file.hpp"
#include "cli/sky.hpp"

#include "events/apsides.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "events/encoding.hpp"
#include "events/lists.hpp"
#include "events/local_time.hpp"
#include "events/moon_days.hpp"
#include "events/number_format.hpp"
#include "events/page_texts.hpp"
#include "events/place.hpp"
#include "events/texts.hpp"

#include "astro/sky_position.hpp"
#include "astro/time_scale.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#ifndef LUNAVISTA_VERSION
#error "LUNAVISTA_VERSION must be defined by the build"
#endif

namespace cli {
namespace {

std::string line(const std::string& key, const std::string& value)
{
    return key + "\t" + value + "\n";
}

std::string listReport(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& text : lines) {
        out += events::utf8FromWindows1252(text) + "\n";
    }
    return out;
}

Value utf8Text(std::string_view windows1252)
{
    return Value::ofText(events::utf8FromWindows1252(windows1252));
}

Value utcText(double jde)
{
    return Value::ofText(isoUtcText(utcSecondsOfJde(jde)));
}

Value kindText(events::EventKind kind)
{
    return Value::ofText(std::string(events::eventKey(kind)));
}

template <std::size_t N>
Table listTable(const events::EventList<N>& list, double nowJulianDay)
{
    Table table{{"utc", "kind", "days", "heading", "count", "date"}, {}};
    for (const events::ListEntry& entry : list.entries) {
        table.records.push_back(
            {utcText(entry.seriesDayNumber + 0.5), kindText(entry.kind),
             Value::ofNumber(
                 events::plainIntegerText(events::dayCount(entry.instant, nowJulianDay))),
             utf8Text(entry.headingText), utf8Text(entry.dayCountText), utf8Text(entry.dateText)});
    }
    return table;
}

std::string formatted(const Table& table, Format format)
{
    return format == Format::Json ? jsonText(table) : tsvText(table);
}

// The midnight that begins a date, as a day number of the local clock.
double midnightDayNumber(int year, int month, int day)
{
    return astro::dayNumberOf(astro::wallClockReading(year, month, day));
}

// The midnight of the reading's day `months` months later; the month's last day where the
// reading's day lies beyond it.
double monthsLaterDayNumber(const astro::SystemTime& reading, int months)
{
    namespace chr = std::chrono;
    const int total = reading.wMonth - 1 + months;
    const chr::year_month later{chr::year{reading.wYear + total / 12},
                                chr::month{static_cast<unsigned>(total % 12 + 1)}};
    const unsigned lastDay =
        static_cast<unsigned>(chr::year_month_day_last{later / chr::last}.day());
    return midnightDayNumber(static_cast<int>(later.year()),
                             static_cast<int>(static_cast<unsigned>(later.month())),
                             static_cast<int>(std::min<unsigned>(reading.wDay, lastDay)));
}

// The kinds the calendar takes from the event searches: the phases, then the apsides. Its
// eclipses come from the eclipse listing.
constexpr events::EventKind PhaseAndApsisKinds[] = {
    events::EventKind::NewMoon,     events::EventKind::FirstQuarter, events::EventKind::FullMoon,
    events::EventKind::LastQuarter, events::EventKind::Perigee,      events::EventKind::Apogee,
};

double azimuthShown(double azimuthDeg)
{
    return events::shownAzimuth(azimuthDeg, HundredthsMask);
}

struct PlaceTexts {
    std::string altitude;
    std::string azimuth;
    std::string_view compass;
    std::string distance;
};

PlaceTexts placeTexts(const MoonFromPlace& moon)
{
    const double azimuth = azimuthShown(moon.azimuthDeg);
    return {events::formatWithMask(moon.altitudeDeg, HundredthsMask),
            events::formatWithMask(azimuth, HundredthsMask), events::compassWord(azimuth),
            events::plainIntegerText(events::roundHalfEven(moon.distanceKm))};
}

constexpr double SecondsPerDay = 86400.0;

// A reading as "2026-03-29 02:30:00".
std::string readingText(const astro::SystemTime& reading)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", reading.wYear, reading.wMonth,
                  reading.wDay, reading.wHour, reading.wMinute, reading.wSecond);
    return text;
}

// The instant a day number of the local clock stands for on the zone's clock; where the clocks
// skip that reading, the instant they jump.
std::chrono::sys_seconds instantOfDayNumber(const events::TimeZone& zone, double dayNumber)
{
    const std::chrono::local_seconds reading{
        std::chrono::seconds{std::llround((dayNumber - astro::DayNumberOf1970) * SecondsPerDay)}};
    return events::instantOf(zone, reading).instant;
}

// The first instant iCalendar's four-digit years cannot write.
constexpr int FirstYearBeyondCalendar = 10000;

std::string usageLine(const std::string& message)
{
    return "lunavista-cli: " + message + " (see --help)\n";
}

// UTC now from the system clock: DTSTAMP, and the instant of a place's lines without --at.
std::int64_t utcNowSeconds()
{
    namespace chr = std::chrono;
    return chr::duration_cast<chr::seconds>(chr::system_clock::now().time_since_epoch()).count();
}

}  // namespace

std::string nowReport(const astro::SystemTime& reading)
{
    return nowReport(events::gaugeValue(astro::julianDayOf(reading)),
                     events::nearestPhase(reading));
}

std::string nowReport(double gaugeValue, const events::NearestPhase& nearest)
{
    std::string out = line("fraction", events::fractionText(gaugeValue));
    if (!nearest.found) {
        return out + line("event", NoNearestPhase) + line("countdown", NoNearestPhase) +
               line("dial", NoNearestPhase);
    }
    const events::CountdownParts parts = events::countdownParts(std::fabs(nearest.distanceDays));
    out += line("event", events::utf8FromWindows1252(
                             events::eventLineText(nearest.phase, nearest.distanceDays)));
    out += line("countdown", parts.daysText + "\t" + parts.hoursText + "\t" + parts.minutesText +
                                 "\t" + parts.secondsText);
    out += line("dial", parts.dialText);
    return out;
}

MoonFromPlace moonFromPlace(std::chrono::sys_seconds instant, const events::GeoPlace& place,
                            const events::TimeZone& zone)
{
    const astro::SkyPosition moon = astro::moonInSky(events::julianDayOf(instant), place);
    return {moon.altitudeDeg, moon.azimuthDeg, moon.distanceKm,
            events::isoLocalText(zone, instant)};
}

std::string placeLines(const MoonFromPlace& moon)
{
    const PlaceTexts texts = placeTexts(moon);
    return line("altitude", texts.altitude) +
           line("azimuth", texts.azimuth + "\t" + std::string(texts.compass)) +
           line("distance", texts.distance) + line("reading_local", moon.readingLocal);
}

void addPlaceFields(Table& table, const MoonFromPlace& moon)
{
    const PlaceTexts texts = placeTexts(moon);
    table.names.insert(table.names.end(),
                       {"altitude_deg", "azimuth_deg", "distance_km", "reading_local"});
    for (std::vector<Value>& record : table.records) {
        record.insert(record.end(),
                      {Value::ofNumber(texts.altitude), Value::ofNumber(texts.azimuth),
                       Value::ofNumber(texts.distance), Value::ofText(moon.readingLocal)});
    }
}

std::string phasesReport(const astro::SystemTime& reading)
{
    return listReport(events::phaseListLinesAt(reading));
}

std::string eclipsesReport(const astro::SystemTime& reading)
{
    return listReport(events::eclipseListLinesAt(reading));
}

std::string apsidesReport(const astro::SystemTime& reading, int count)
{
    return listReport(events::apsisLinesAt(reading, static_cast<std::size_t>(count)));
}

Table nowTable(const astro::SystemTime& reading)
{
    const events::NearestPhase nearest = events::nearestPhase(reading);
    const double jde = nearest.found
                           ? events::phaseInstants(reading)[static_cast<std::size_t>(nearest.phase)]
                           : 0.0;
    return nowTable(events::gaugeValue(astro::julianDayOf(reading)), nearest, jde);
}

Table nowTable(double gaugeValue, const events::NearestPhase& nearest, double nearestJde)
{
    Table table{{"fraction", "utc", "kind", "event", "days", "hours", "minutes", "seconds", "dial"},
                {}};
    std::vector<Value> record = {Value::ofNumber(events::fractionText(gaugeValue))};
    if (!nearest.found) {
        record.resize(table.names.size());
    } else {
        const events::CountdownParts parts =
            events::countdownParts(std::fabs(nearest.distanceDays));
        record.insert(record.end(),
                      {utcText(nearestJde), kindText(events::eventKindOf(nearest.phase)),
                       utf8Text(events::eventLineText(nearest.phase, nearest.distanceDays)),
                       Value::ofNumber(parts.daysText), Value::ofNumber(parts.hoursText),
                       Value::ofNumber(parts.minutesText), Value::ofNumber(parts.secondsText),
                       Value::ofText(parts.dialText)});
    }
    table.records.push_back(std::move(record));
    return table;
}

Table phasesTable(const astro::SystemTime& reading)
{
    return listTable(events::upcomingPhaseList(reading), astro::julianDayOf(reading));
}

Table eclipsesTable(const astro::SystemTime& reading)
{
    return listTable(events::upcomingEclipseList(reading), astro::julianDayOf(reading));
}

Table apsidesTable(const astro::SystemTime& reading, int count)
{
    Table table{{"utc", "kind", "distance_km", "name", "date", "distance", "supermoon"}, {}};
    for (const events::ApsisEntry& entry :
         events::upcomingApsides(reading, static_cast<std::size_t>(count))) {
        table.records.push_back({utcText(entry.jde), kindText(events::eventKindOf(entry.kind)),
                                 Value::ofNumber(events::plainIntegerText(entry.distanceKm)),
                                 utf8Text(entry.name), utf8Text(entry.dateText),
                                 utf8Text(entry.distanceText), Value::ofBoolean(entry.supermoon)});
    }
    return table;
}

bool calendarRange(const astro::SystemTime& reading, const Request& request, CalendarRange& range,
                   std::string& error)
{
    range.fromDayNumber = midnightDayNumber(reading.wYear, reading.wMonth, reading.wDay);
    range.untilDayNumber =
        request.until ? astro::dayNumberOf(*request.until)
                      : monthsLaterDayNumber(reading, request.months.value_or(DefaultMonths));
    if (!(range.untilDayNumber > range.fromDayNumber)) {
        char start[32];
        std::snprintf(start, sizeof start, "%04d-%02d-%02d 00:00", reading.wYear, reading.wMonth,
                      reading.wDay);
        error = "--until must lie after the start of the range, " + std::string(start);
        return false;
    }
    if (range.untilDayNumber > monthsLaterDayNumber(reading, MostMonths)) {
        error = "the range may span at most " + std::to_string(MostMonths) + " months";
        return false;
    }
    if (range.untilDayNumber > midnightDayNumber(FirstYearBeyondCalendar, 1, 1)) {
        error = "iCalendar has four-digit years: the range must end by " +
                std::to_string(FirstYearBeyondCalendar) + "-01-01";
        return false;
    }
    return true;
}

CalendarEvent calendarEventOf(const events::Event& event)
{
    const std::int64_t start = utcSecondsOfJde(event.seriesDayNumber + 0.5);
    CalendarEvent entry{icsUtcText(start).substr(0, 8) + "-" +
                            std::string(events::eventKey(event.kind)) + "@lunavista",
                        events::utf8FromWindows1252(events::eventTitle(event.kind)),
                        {},
                        start};
    if (events::isApsis(event.kind)) {
        const events::ApsisEntry apsis = events::apsisEntryAt(
            event.kind == events::EventKind::Perigee ? astro::ApsisKind::Perigee
                                                     : astro::ApsisKind::Apogee,
            event.seriesDayNumber);
        entry.summary = events::utf8FromWindows1252(events::apsisTitle(apsis));
        entry.description = events::utf8FromWindows1252(events::apsisDescription(apsis));
    }
    return entry;
}

std::vector<CalendarEvent> calendarEntries(std::span<const events::Event> events,
                                           std::span<const EclipseView> eclipses,
                                           const events::InstantText& localInstant,
                                           const std::string& placeHeading)
{
    // Phases, eclipses and apsides of the same instant in that order.
    enum Rank { Phase, Eclipse, Apsis };
    struct Ordered {
        double seriesDayNumber;
        Rank rank;
        CalendarEvent entry;
    };
    std::vector<Ordered> ordered;
    ordered.reserve(events.size() + eclipses.size());
    for (const events::Event& event : events) {
        ordered.push_back({event.seriesDayNumber, events::isApsis(event.kind) ? Apsis : Phase,
                           calendarEventOf(event)});
    }
    for (const EclipseView& view : eclipses) {
        ordered.push_back({view.entry.seriesDayNumber, Eclipse,
                           eclipseCalendarEvent(view, localInstant, placeHeading)});
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const Ordered& a, const Ordered& b) {
        return a.seriesDayNumber < b.seriesDayNumber ||
               (a.seriesDayNumber == b.seriesDayNumber && a.rank < b.rank);
    });
    std::vector<CalendarEvent> entries;
    entries.reserve(ordered.size());
    for (Ordered& o : ordered) {
        entries.push_back(std::move(o.entry));
    }
    return entries;
}

std::vector<CalendarEvent> withRiseSet(std::span<const CalendarEvent> entries,
                                       std::span<const CalendarEvent> riseSet)
{
    std::vector<CalendarEvent> merged;
    merged.reserve(entries.size() + riseSet.size());
    std::merge(entries.begin(), entries.end(), riseSet.begin(), riseSet.end(),
               std::back_inserter(merged), [](const CalendarEvent& a, const CalendarEvent& b) {
                   return a.startUtcSeconds < b.startUtcSeconds;
               });
    return merged;
}

std::string icsReport(std::span<const CalendarEvent> entries, std::int64_t stampUtcSeconds,
                      std::optional<int> alarmMinutes, bool withApsides, bool withRiseSet)
{
    CalendarOptions options;
    options.productId = std::string("-//Lunavista//lunavista-cli ") + LUNAVISTA_VERSION + "//DE";
    options.name =
        withApsides
            ? events::utf8FromWindows1252("Mondphasen, Finsternisse, Erdn\xE4he und Erdferne")
            : "Mondphasen und Finsternisse";
    if (withRiseSet) {
        options.name += " mit Mondaufgang und Monduntergang";
    }
    options.stampUtcSeconds = stampUtcSeconds;
    options.alarmMinutes = alarmMinutes;
    return calendarText(entries, options);
}

std::string helpText()
{
    return "Usage: lunavista-cli <command> [options]\n"
           "       lunavista-cli help | version      (also --help, -h, --version)\n"
           "\n"
           "Where the Moon stands in its cycle and when the coming phases and eclipses are,\n"
           "computed as the Lunavista window does (texts in German).\n"
           "\n"
           "Commands:\n"
           "  now       the illuminated fraction in percent, the nearest principal phase\n"
           "            and the count-down to or since it (days, hours, minutes, seconds);\n"
           "            with --place also where the Moon stands in that place's sky\n"
           "  phases    the next New Moon, First Quarter, Full Moon and Last Quarter\n"
           "  eclipses  the next partial and total lunar eclipse and the next partial,\n"
           "            total and annular solar eclipse\n"
           "  apsides   the Moon's next perigees (Erdn\xC3\xA4he) and apogees (Erdferne) in time\n"
           "            order, with the distance between the centres of Earth and Moon in\n"
           "            km, and \"Supermond\" at a perigee within 24 hours of a Full Moon\n"
           "  sky       day by day at --place, from the reading's day: the Moon's rising\n"
           "            (Mondaufgang), highest point (H\303\266chststand) and setting\n"
           "            (Monduntergang) at the local time, with the azimuth and its compass\n"
           "            word and the highest point's altitude; a day without one of them,\n"
           "            or one the Moon spends wholly above or below the horizon, says so\n"
           "  ics       an iCalendar file (RFC 5545) of every principal phase and every\n"
           "            eclipse (penumbral lunar eclipses too) in a range, for calendar\n"
           "            programs: lunavista-cli ics -o mond.ics puts the coming 12 months\n"
           "            in one file; each eclipse with its phases and magnitude\n"
           "  eclipse   the next eclipses of every kind in time order, each with its\n"
           "            phases and magnitudes, in true local time; with --place also what\n"
           "            is seen of it there\n"
           "  help      show this help\n"
           "  version   show the version\n"
           "\n"
           "Options:\n"
           "  --at DATE            use this local wall-clock reading instead of the clock\n"
           "  --format text|tsv|json\n"
           "                       now, phases, eclipses, apsides, sky, eclipse: the\n"
           "                       German lines (text, the default), or records as TSV (a\n"
           "                       line of field names first) or as a JSON array, one\n"
           "                       record per line\n"
           "  --count N            apsides: how many perigees and apogees in all (1-1000;\n"
           "                       4 when not given); eclipse: how many eclipses (1-1000;\n"
           "                       5 when not given)\n"
           "  --days N             sky: how many days (1-366; 7 when not given)\n"
           "  --months N           ics: the range ends N months after its start (1-1200;\n"
           "                       12 when neither --months nor --until is given)\n"
           "  --until DATE         ics: the range ends at this reading instead\n"
           "  --alarm MINUTES      ics: a reminder MINUTES before each event (0-10080)\n"
           "  --apsides            ics: the perigees and apogees of the range too, titled\n"
           "                       Erdn\xC3\xA4he (Supermond where it holds) or Erdferne, with\n"
           "                       the distance in the description\n"
           "  --rise-set           ics, with --place: each moonrise (Mondaufgang) and\n"
           "                       moonset (Monduntergang) there too, with the azimuth in\n"
           "                       the description\n"
           "  --place PLACE        now: the Moon's altitude above the horizon (refracted) and\n"
           "                       azimuth (from north over east, with the compass word N,\n"
           "                       NO, O, SO, S, SW, W, NW) in degrees and its distance in km\n"
           "                       from PLACE, and the local time they hold for;\n"
           "                       sky: the place whose sky;\n"
           "                       eclipse: whether each eclipse is seen from PLACE, the\n"
           "                       Moon's altitude at greatest eclipse (lunar), and begin,\n"
           "                       maximum, end and the central phase with the Sun's\n"
           "                       altitudes, the magnitude and the obscuration (solar);\n"
           "                       ics: the same in each eclipse's description, and the\n"
           "                       place of --rise-set\n"
           "  --utc                with --place, and for eclipse: the local time is UTC,\n"
           "                       --at is read as UTC\n"
           "  -o FILE, --output FILE\n"
           "                       write to FILE (replacing it) instead of standard output\n"
           "\n"
           "Dates (DATE) are local wall-clock readings of the years 1601-30827, in any of\n"
           "these forms; a date alone is its midnight, missing seconds are 0:\n"
           "  2026-12-20   2026-12-20 21:15   2026-12-20 21:15:00   2026-12-20T21:15\n"
           "  20.12.2026   20.12.2026 21:15   20.12.2026 21:15:00\n"
           "Quote a date with a time as one argument: --at \"2026-12-20 21:15\".\n"
           "\n"
           "Times: the German lines show the window's fixed offsets: listed times are UTC\n"
           "in winter and UTC+1h in summer; the count-down assumes UTC+1h. The utc fields\n"
           "of tsv and json and the DTSTART of ics are the true instant in UTC: the\n"
           "series' Terrestrial Time less Delta-T (Espenak-Meeus; far from the present an\n"
           "estimate), to the second. Calendar programs show it in your own time zone.\n"
           "\n"
           "Places (PLACE): latitude first, north and east positive, in degrees, as\n"
           "  52.52,13.405   52.52N 13.405E (O for Ost too)   -33.87,151.21\n"
           "  52\302\26031'N 13\302\26024'E   52 31 N 13 24 E   52\302\26031'12\"N "
           "13\302\26024'36\"E\n"
           "or a city of Germany, Austria or Switzerland over 100,000 inhabitants by\n"
           "name: Berlin, M\303\274nchen (or Muenchen), Frankfurt am Main (or Frankfurt),\n"
           "Halle (Saale) (or Halle), Z\303\274rich, Wien. The decimal sign is a point; a\n"
           "comma between digits is a decimal comma where it cannot separate latitude\n"
           "and longitude: 52,52 13,405 or 52,52; 13,405 (but 52,5 is 52 north, 5 east).\n"
           "\n"
           "Eclipses (eclipse, and the descriptions in ics): the contacts of a lunar\n"
           "eclipse with the penumbra and the umbra come from the true positions of the\n"
           "Moon and the Sun, the Earth's shadow enlarged by Danjon's rule (1/85), and\n"
           "so do its magnitudes and kind; a solar eclipse keeps the series' instant,\n"
           "kind, gamma and magnitude, and a place's view of it comes from the\n"
           "topocentric Sun and Moon. The Sun (or Moon) counts as seen while its centre\n"
           "stands above the horizon, refraction included. eclipse lists the eclipses\n"
           "whose greatest eclipse is not before --at (or now).\n"
           "\n"
           "Local time: output that speaks of a place gives the true local time of the\n"
           "computer's time zone (on Linux TZ and the tz database), with its UTC offset,\n"
           "or UTC with --utc. There --at is a wall-clock reading of that zone: a reading\n"
           "the clocks skip when summer time begins is refused, and one they show twice\n"
           "when it ends is the first of the two; eclipse always reads it so, with or\n"
           "without a place. The four lines of now keep reading --at with the window's\n"
           "fixed offsets, so one --at reading can stand for two instants in one output.\n"
           "\n"
           "Rising and setting: the upper edge of the Moon on the horizon, lifted by the\n"
           "standard refraction of 34', as seen from the place (parallax included); the\n"
           "highest point is the Moon on the meridian, listed only while it is up. sky's\n"
           "days are the calendar days of the local time, from --at's day (or today);\n"
           "its lines give the time to the minute (seconds cut), its records (fields utc,\n"
           "local, kind moonrise|transit|moonset, azimuth_deg, altitude_deg, one per event)\n"
           "to the second. ics --rise-set takes the risings and settings whose local time\n"
           "lies in its range; their UIDs name the place.\n"
           "\n"
           "Apsides: the instants and distances of Meeus's series for the Moon's perigee\n"
           "and apogee, the distance in whole km between the centres of Earth and Moon.\n"
           "Supermond: a perigee within 24 hours (either side, 24 hours included) of a\n"
           "Full Moon, both instants as this program computes them.\n"
           "\n"
           "The ics range starts at the midnight that begins the reading's day and ends\n"
           "before the midnight of the same day N months later, or before the --until\n"
           "reading (a date alone: its midnight); an event belongs to it by the time\n"
           "the lists show for it. It spans at most 1200 months and ends by 10000-01-01\n"
           "(iCalendar has four-digit years). Each event's UID is made of its kind and\n"
           "UTC date, so importing a newer file updates the events instead of doubling\n"
           "them.\n"
           "\n"
           "Output: UTF-8. text and tsv: one record per line ending in LF (also on\n"
           "Windows), fields separated by one TAB. ics: CRLF line ends, lines folded at\n"
           "75 octets.\n"
           "\n"
           "Exit status: 0 done; 2 a usage error (command, option or date), with one line\n"
           "on standard error; 3 the output could not be written (a full disk, a closed\n"
           "output, a file that cannot be made), with one line on standard error.\n";
}

std::string versionText()
{
    return std::string("lunavista-cli ") + LUNAVISTA_VERSION + "\n";
}

int run(const std::vector<std::string>& arguments, std::string& out, std::string& err)
{
    const Request request = parseArguments(arguments);
    switch (request.action) {
    case Action::Error:
        err += usageLine(request.error);
        return ExitUsage;
    case Action::Help:
        out += helpText();
        return ExitSuccess;
    case Action::Version:
        out += versionText();
        return ExitSuccess;
    case Action::Run:
        break;
    }
    // One reading for everything the command prints.
    const astro::SystemTime reading =
        request.hasReading ? request.reading : astro::readLocalClock();
    // What speaks of a place keeps true local time: --at is a reading of the place's zone, and
    // without it the instant is the clock's UTC (a local reading in the autumn's repeated hour
    // would not tell which of the two instants it is).
    const events::TimeZone zone =
        request.utc ? events::TimeZone::utc() : events::TimeZone::computer();
    std::chrono::sys_seconds placeInstant{};
    const bool readsTrueLocalTime = request.command == Command::Sky ||
                                    request.command == Command::Eclipse ||
                                    (request.place && request.command == Command::Now);
    if (readsTrueLocalTime) {
        if (!request.hasReading) {
            placeInstant = std::chrono::sys_seconds{std::chrono::seconds{utcNowSeconds()}};
        } else {
            const events::WallClockInstant found =
                events::instantOf(zone, events::wallClockOf(request.reading));
            if (!found.exists) {
                err += usageLine("--at " + readingText(request.reading) +
                                 " does not exist: " + events::gapReason(found));
                return ExitUsage;
            }
            placeInstant = found.instant;
        }
    }
    const bool text = request.format == Format::Text;
    std::string output;
    switch (request.command) {
    case Command::Now:
        if (!request.place) {
            output = text ? nowReport(reading) : formatted(nowTable(reading), request.format);
        } else if (const MoonFromPlace moon = moonFromPlace(placeInstant, *request.place, zone);
                   text) {
            output = nowReport(reading) + placeLines(moon);
        } else {
            Table table = nowTable(reading);
            addPlaceFields(table, moon);
            output = formatted(table, request.format);
        }
        break;
    case Command::Phases:
        output = text ? phasesReport(reading) : formatted(phasesTable(reading), request.format);
        break;
    case Command::Eclipses:
        output = text ? eclipsesReport(reading) : formatted(eclipsesTable(reading), request.format);
        break;
    case Command::Apsides: {
        const int count = request.count.value_or(DefaultApsisCount);
        output = text ? apsidesReport(reading, count)
                      : formatted(apsidesTable(reading, count), request.format);
        break;
    }
    case Command::Sky: {
        const std::vector<events::MoonDay> days =
            events::moonDays(zone, *request.place, events::localDayOf(zone, placeInstant),
                             request.days.value_or(DefaultSkyDays));
        output = text ? skyReport(zone, days) : formatted(skyTable(zone, days), request.format);
        break;
    }
    case Command::Ics: {
        CalendarRange range;
        std::string error;
        if (!calendarRange(reading, request, range, error)) {
            err += usageLine(error);
            return ExitUsage;
        }
        // The phases (and apsides) by their searches, the eclipses, penumbral ones too, from the
        // listing that describes them.
        const std::span<const events::EventKind> kinds =
            request.apsides ? std::span<const events::EventKind>(PhaseAndApsisKinds)
                            : std::span<const events::EventKind>(PhaseAndApsisKinds).first<4>();
        const std::vector<events::Event> found =
            events::eventsBetween(kinds, range.fromDayNumber, range.untilDayNumber);
        const std::vector<EclipseView> eclipses = eclipseViews(
            events::eclipsesBetween(range.fromDayNumber, range.untilDayNumber), request.place);
        std::vector<CalendarEvent> entries =
            calendarEntries(found, eclipses, localInstantText(zone),
                            request.place ? placeHeading(*request.place, request.utc) : "");
        if (request.riseSet) {
            // The same range read on the zone's clock: an event belongs to it by its local time.
            const events::MoonSkyEvents moon =
                events::moonSkyEvents(*request.place, instantOfDayNumber(zone, range.fromDayNumber),
                                      instantOfDayNumber(zone, range.untilDayNumber));
            entries = withRiseSet(entries, riseSetCalendarEvents(moon.events, *request.place));
        }
        output = icsReport(entries, utcNowSeconds(), request.alarmMinutes, request.apsides,
                           request.riseSet);
        break;
    }
    case Command::Eclipse: {
        const std::vector<EclipseView> views =
            eclipseViews(events::eclipsesFrom(
                             events::julianDayOf(placeInstant),
                             static_cast<std::size_t>(request.count.value_or(DefaultEclipseCount))),
                         request.place);
        output = text ? eclipseReport(views, localInstantText(zone), localDayText(zone))
                      : formatted(eclipseTable(views, request.place.has_value(),
                                               request.format == Format::Tsv),
                                  request.format);
        break;
    }
    case Command::None:
        break;
    }
    if (request.outputPath) {
        std::string reason;
        if (!writeFile(*request.outputPath, output, reason)) {
            err += "lunavista-cli: cannot write " + quotedForMessage(*request.outputPath) + ": " +
                   reason + "\n";
            return ExitWriteFailed;
        }
        return ExitSuccess;
    }
    out += output;
    return ExitSuccess;
}

}  // namespace cli
