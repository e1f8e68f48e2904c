#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace cli {
namespace {

using Args = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runWith(const Args& args)
{
    Outcome o;
    o.status = run(args, o.out, o.err);
    return o;
}

TEST(CliRun, HelpVersionAndUsageErrors)
{
    const Outcome help = runWith({"--help"});
    EXPECT_EQ(help.status, ExitSuccess);
    EXPECT_EQ(help.out.rfind("Usage: lunavista-cli", 0), 0u);
    EXPECT_TRUE(help.err.empty());

    const Outcome version = runWith({"--version"});
    EXPECT_EQ(version.status, ExitSuccess);
    EXPECT_EQ(version.out, std::string("lunavista-cli ") + LUNAVISTA_VERSION + "\n");

    for (const Args& bad : {Args{}, Args{"later"}, Args{"now", "--at", "2025-02-30 10:00:00"},
                            Args{"now", "--at"}, Args{"now", "--at", "1600-01-01 00:00:00"}}) {
        const Outcome o = runWith(bad);
        EXPECT_EQ(o.status, ExitUsage);
        EXPECT_TRUE(o.out.empty());
        ASSERT_FALSE(o.err.empty());
        EXPECT_EQ(o.err.rfind("lunavista-cli: ", 0), 0u) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;  // exactly one line
    }
}

TEST(CliNow, NoInventedValuesWhenTwoPhasesAreEquallyNear)
{
    events::NearestPhase none;
    none.found = false;
    EXPECT_EQ(nowReport(50.0, none),
              "fraction\t50\n"
              "event\t(none: two phases equally near)\n"
              "countdown\t(none: two phases equally near)\n"
              "dial\t(none: two phases equally near)\n");
    events::NearestPhase past;
    past.found = true;
    past.phase = events::Phase::FullMoon;
    past.distanceDays = -(2 + (7 * 3600 + 5 * 60 + 9.5) / 86400.0);
    EXPECT_EQ(nowReport(99.12345, past),
              "fraction\t99.12345\n"
              "event\t Letzter Vollmond war vor: \n"
              "countdown\t2\t7\t5\t9\n"
              "dial\t07:05:09\n");
}

// 2025 March 5, 14:07:09 (winter time). The instants, in UT, from the independent reference
// tables (tests/data, astronomy-engine): First Quarter March 6 16:32:11, Full Moon March 14
// 06:55:20, Last Quarter March 22 11:30:04, New Moon March 29 10:58:24; total lunar eclipse
// March 14 06:58:42, partial solar eclipse March 29 10:47:26; apogee March 17 16:38:00 (405742
// km), perigee March 30 05:25:20 (358118 km), apogee April 13 22:47:50 (406282 km), perigee
// April 27 16:18:15 (357110 km). This program shows Meeus's JDE (about UT + 69 s, within a minute
// or two of the reference, an hour for the apsides) as local time, with the lists' hour from
// March 30, the first summer-time day; no perigee lies within a day of a Full Moon.
TEST(CliReports, WinterReadingBeforeTheFirstQuarter)
{
    const Outcome now = runWith({"now", "--at", "2025-03-05 14:07:09"});
    ASSERT_EQ(now.status, ExitSuccess) << now.err;
    // First Quarter 16:32 (+1 min) plus the fixed hour, from 14:07:09: 1 day 3 h 25-26 min.
    EXPECT_EQ(now.out.substr(0, now.out.find('\n') + 1).substr(0, 12), "fraction\t37.");
    EXPECT_NE(now.out.find("\nevent\t Das n\xC3\xA4"
                           "chste Erste Viertel ist in: \n"
                           "countdown\t1\t3\t2"),
              std::string::npos)
        << now.out;

    const Outcome phases = runWith({"phases", "--at", "2025-03-05 14:07:09"});
    ASSERT_EQ(phases.status, ExitSuccess);
    EXPECT_EQ(phases.out,
              "Das n\xC3\xA4"
              "chste Erste Viertel ist in\t 1 Tag   am\t06.03.2025 um 16:32 Uhr\n"
              "N\xC3\xA4"
              "chster Vollmond ist in\t 8 Tagen am\t14.03.2025 um 06:55 Uhr\n"
              "Das n\xC3\xA4"
              "chste Letzte Viertel ist in\t16 Tagen am\t22.03.2025 um 11:30 Uhr\n"
              "N\xC3\xA4"
              "chster Neumond ist in\t23 Tagen am\t29.03.2025 um 10:58 Uhr\n");

    const Outcome eclipses = runWith({"eclipses", "--at", "2025-03-05 14:07:09"});
    ASSERT_EQ(eclipses.status, ExitSuccess);
    const std::string firstTwo =
        eclipses.out.substr(0, eclipses.out.find('\n', eclipses.out.find('\n') + 1) + 1);
    EXPECT_EQ(firstTwo,
              "Die n\xC3\xA4"
              "chste totale Mondfinsternis ist in\t  8 Tagen am\t14.03.2025 um 07:00 Uhr\n"
              "Die n\xC3\xA4"
              "chste partielle Sonnenfinsternis ist in\t 23 Tagen am\t29.03.2025 um 10:49 Uhr\n");

    const Outcome apsides = runWith({"apsides", "--at", "2025-03-05 14:07:09"});
    ASSERT_EQ(apsides.status, ExitSuccess);
    EXPECT_EQ(apsides.out,
              "Erdferne\t17.03.2025 um 16:37 Uhr\t405752 km\n"
              "Erdn\xC3\xA4he\t30.03.2025 um 06:27 Uhr\t358126 km\n"
              "Erdferne\t13.04.2025 um 23:49 Uhr\t406294 km\n"
              "Erdn\xC3\xA4he\t27.04.2025 um 17:16 Uhr\t357118 km\n");
}

// 2025 July 20, 12:00 (summer time: the lists add one hour). Reference tables, UT: New Moon
// July 24 19:11:43, Full Moon August 9 07:55:38; total lunar eclipse September 7 18:11:42.
TEST(CliReports, SummerReadingAddsTheHourToListedEvents)
{
    const Outcome phases = runWith({"phases", "--at", "2025-07-20 12:00:00"});
    ASSERT_EQ(phases.status, ExitSuccess);
    EXPECT_EQ(phases.out.substr(0, phases.out.find('\n') + 1),
              "N\xC3\xA4"
              "chster Neumond ist in\t 4 Tagen am\t24.07.2025 um 20:12 Uhr\n");
    EXPECT_NE(phases.out.find("09.08.2025 um 08:56 Uhr\n"), std::string::npos) << phases.out;

    const Outcome eclipses = runWith({"eclipses", "--at", "2025-07-20 12:00:00"});
    EXPECT_EQ(eclipses.out.substr(0, eclipses.out.find('\n') + 1),
              "Die n\xC3\xA4"
              "chste totale Mondfinsternis ist in\t 49 Tagen am\t07.09.2025 um 19:13 Uhr\n");
}

// 2000 November 25, 23:59: the New Moon of that evening (23:11:57 UT in the reference table,
// 23:12 as this program shows it) has just passed. The list shows the next one (December 25,
// 17:22:18 UT); the event line still counts towards the New Moon's instant plus the fixed hour.
TEST(CliReports, LateEveningAfterANewMoon)
{
    const Outcome phases = runWith({"phases", "--at", "2000-11-25 23:59:00"});
    ASSERT_EQ(phases.status, ExitSuccess);
    EXPECT_EQ(phases.out.find("25.11.2000"), std::string::npos) << phases.out;
    EXPECT_NE(phases.out.find("N\xC3\xA4"
                              "chster Neumond ist in\t29 Tagen am\t25.12.2000 um 17:2"),
              std::string::npos)
        << phases.out;
    EXPECT_EQ(phases.out.find('-'), std::string::npos) << phases.out;

    const Outcome now = runWith({"now", "--at", "2000-11-25 23:59:00"});
    EXPECT_NE(now.out.find("event\t N\xC3\xA4"
                           "chster Neumond ist in: \ncountdown\t0\t0\t1"),
              std::string::npos)
        << now.out;
}

// The calendar's range runs from the midnight that begins the reading's day to the same day N
// months later (the month's last day where it is shorter) or to --until; ranges that are empty,
// longer than a century or past the year 9999 are usage errors.
TEST(CliIcs, RangesAndTheirLimits)
{
    const auto withoutStamps = [](const Args& args) {
        const Outcome o = runWith(args);
        EXPECT_EQ(o.status, ExitSuccess) << o.err;
        std::string kept;
        std::size_t start = 0;
        for (std::size_t end = o.out.find("\r\n"); end != std::string::npos;
             end = o.out.find("\r\n", start)) {
            if (o.out.compare(start, 8, "DTSTAMP:") != 0) {
                kept += o.out.substr(start, end + 2 - start);
            }
            start = end + 2;
        }
        return kept;
    };
    const std::pair<Args, Args> sameRanges[] = {
        {{"ics", "--at", "2026-01-31 12:00", "--months", "1"},
         {"ics", "--at", "31.01.2026", "--until", "2026-02-28"}},
        {{"ics", "--at", "2024-02-29"}, {"ics", "--at", "2024-02-29", "--until", "2025-02-28"}},
        {{"ics", "--at", "2026-12-20T23:59", "--months", "1200"},
         {"ics", "--at", "2026-12-20", "--until", "2126-12-20"}},
        {{"ics", "--at", "9999-01-01", "--months", "12"},
         {"ics", "--at", "9999-01-01", "--until", "10000-01-01"}},
    };
    for (const auto& [months, until] : sameRanges) {
        const std::string calendar = withoutStamps(months);
        EXPECT_EQ(calendar, withoutStamps(until)) << months[2];
        EXPECT_NE(calendar.find("BEGIN:VEVENT"), std::string::npos) << months[2];
    }

    struct Refused {
        Args args;
        const char* reason;
    };
    const Refused refused[] = {
        {{"ics", "--at", "2026-12-20 21:15", "--until", "2026-12-20"},
         "--until must lie after the start of the range, 2026-12-20 00:00"},
        {{"ics", "--at", "2026-12-20", "--until", "2126-12-20 00:00:01"}, "at most 1200 months"},
        {{"ics", "--at", "9999-01-02"}, "the range must end by 10000-01-01"},
        {{"ics", "--at", "30827-12-31 23:59:59", "--months", "1"}, "10000-01-01"},
    };
    for (const Refused& r : refused) {
        const Outcome o = runWith(r.args);
        EXPECT_EQ(o.status, ExitUsage) << r.reason;
        EXPECT_TRUE(o.out.empty());
        EXPECT_EQ(o.err.rfind("lunavista-cli: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find(std::string(r.reason) + " (see --help)\n"), std::string::npos)
            << o.err;
    }
}

// When two phases are equally near, the records say nothing rather than invent a phase.
TEST(CliNow, RecordsWithoutANearestPhase)
{
    events::NearestPhase none;
    none.found = false;
    EXPECT_EQ(jsonText(nowTable(50.0, none, 0.0)),
              "[\n{\"fraction\":50,\"utc\":null,\"kind\":null,\"event\":null,\"days\":null,"
              "\"hours\":null,\"minutes\":null,\"seconds\":null,\"dial\":null}\n]\n");
    EXPECT_EQ(tsvText(nowTable(50.0, none, 0.0)),
              "fraction\tutc\tkind\tevent\tdays\thours\tminutes\tseconds\tdial\n"
              "50\t\t\t\t\t\t\t\t\n");
}

// The place lines round to the shown digits: the azimuth's compass word is that of the azimuth
// shown, one that rounds to 360 shows 0, a distance's half goes to even, and an altitude just
// below the horizon that rounds to 0 carries no sign.
TEST(CliNow, ThePlaceLinesAndFields)
{
    struct Case {
        MoonFromPlace moon;
        const char* lines;
    };
    const Case cases[] = {
        {{23.4449, 141.07, 367890.5, "2026-12-20T21:15:00+01:00"},
         "altitude\t23.44\nazimuth\t141.07\tSO\ndistance\t367890\n"
         "reading_local\t2026-12-20T21:15:00+01:00\n"},
        {{-0.004, 359.996, 367891.5, "2026-03-29T03:00:00+02:00"},
         "altitude\t0.00\nazimuth\t0.00\tN\ndistance\t367892\n"
         "reading_local\t2026-03-29T03:00:00+02:00\n"},
        {{-45.678, 22.4996, 405000.49, "2026-12-20T20:15:00+00:00"},
         "altitude\t-45.68\nazimuth\t22.50\tNO\ndistance\t405000\n"
         "reading_local\t2026-12-20T20:15:00+00:00\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placeLines(c.moon), c.lines);
    }
    events::NearestPhase none;
    none.found = false;
    Table table = nowTable(50.0, none, 0.0);
    addPlaceFields(table, cases[2].moon);
    EXPECT_EQ(
        jsonText(table),
        "[\n{\"fraction\":50,\"utc\":null,\"kind\":null,\"event\":null,\"days\":null,"
        "\"hours\":null,\"minutes\":null,\"seconds\":null,\"dial\":null,\"altitude_deg\":-45.68,"
        "\"azimuth_deg\":22.50,\"distance_km\":405000,"
        "\"reading_local\":\"2026-12-20T20:15:00+00:00\"}\n]\n");
}

// now --place: the four lines as they were, then the Moon in Berlin's and Sydney's sky
// (astronomy-engine: altitude 57.41 and 36.48 degrees, azimuth 191.75 and 0.02, distance 362497
// and 366486 km), at the --at reading taken as UTC; the records end in the same four fields.
TEST(CliNow, TheMoonSeenFromAPlaceAfterTheFourLines)
{
    struct Case {
        Args args;
        double altitude;
        double azimuth;
        const char* compass;
        double distance;
        const char* local;
    };
    const Case cases[] = {
        {{"now", "--at", "2026-12-20 20:15", "--place", "Berlin", "--utc"},
         57.41,
         191.75,
         "S",
         362497,
         "2026-12-20T20:15:00+00:00"},
        {{"now", "--at", "2026-12-20 10:15", "--place=-33.87,151.21", "--utc"},
         36.48,
         0.02,
         "N",
         366486,
         "2026-12-20T10:15:00+00:00"},
    };
    for (const Case& c : cases) {
        const Outcome four = runWith({c.args[0], c.args[1], c.args[2]});
        const Outcome o = runWith(c.args);
        ASSERT_EQ(o.status, ExitSuccess) << o.err;
        ASSERT_EQ(o.out.substr(0, four.out.size()), four.out);
        double altitude = 0;
        double azimuth = 0;
        char compass[4] = {};
        double distance = 0;
        char local[32] = {};
        ASSERT_EQ(std::sscanf(o.out.c_str() + four.out.size(),
                              "altitude\t%lf\nazimuth\t%lf\t%3[A-Z]\ndistance\t%lf\n"
                              "reading_local\t%31[^\n]\n",
                              &altitude, &azimuth, compass, &distance, local),
                  5)
            << o.out;
        EXPECT_NEAR(altitude, c.altitude, 0.05);
        EXPECT_NEAR(azimuth, c.azimuth, 0.05);
        EXPECT_STREQ(compass, c.compass);
        EXPECT_NEAR(distance, c.distance, 25);
        EXPECT_STREQ(local, c.local);
        EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 8);

        Args json = c.args;
        json.insert(json.end(), {"--format", "json"});
        const Outcome records = runWith(json);
        ASSERT_EQ(records.status, ExitSuccess) << records.err;
        EXPECT_NE(records.out.find(",\"dial\":\"", 0), std::string::npos);
        EXPECT_NE(records.out.find(std::string(",\"reading_local\":\"") + c.local + "\"}\n]\n"),
                  std::string::npos)
            << records.out;
    }
}

}  // namespace
}  // namespace cli
