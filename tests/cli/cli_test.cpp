#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
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

// sky's lines at Tromso in the standstill of 2006 (UTC days): a day wholly above the horizon with
// its highest point, days with a setting and a rising, one without a rising, and one wholly below;
// the times agree with astronomy-engine's (tests/data/moon_rise_set.csv) to the minute shown.
TEST(CliSky, TheLinesOfDaysAboveBelowAndBetween)
{
    const Outcome days =
        runWith({"sky", "--place", "69.65N 18.96E", "--at", "2006-10-15", "--days", "4", "--utc"});
    ASSERT_EQ(days.status, ExitSuccess) << days.err;
    EXPECT_EQ(days.out,
              "H\303\266chststand\t15.10.2006 um 05:46 Uhr\tAzimut 180.0\302\260 S\t"
              "H\303\266he 42.4\302\260\n"
              "Mond den ganzen Tag \303\274ber dem Horizont\t15.10.2006\n"
              "H\303\266chststand\t16.10.2006 um 06:32 Uhr\tAzimut 180.0\302\260 S\t"
              "H\303\266he 38.0\302\260\n"
              "Monduntergang\t16.10.2006 um 16:18 Uhr\tAzimut 324.1\302\260 NW\n"
              "Mondaufgang\t16.10.2006 um 21:49 Uhr\tAzimut 40.9\302\260 NO\n"
              "H\303\266chststand\t17.10.2006 um 07:14 Uhr\tAzimut 180.0\302\260 S\t"
              "H\303\266he 33.0\302\260\n"
              "Monduntergang\t17.10.2006 um 15:41 Uhr\tAzimut 304.8\302\260 NW\n"
              "Mondaufgang\t17.10.2006 um 23:53 Uhr\tAzimut 61.3\302\260 NO\n"
              "H\303\266chststand\t18.10.2006 um 07:55 Uhr\tAzimut 180.0\302\260 S\t"
              "H\303\266he 27.5\302\260\n"
              "Monduntergang\t18.10.2006 um 15:13 Uhr\tAzimut 287.8\302\260 W\n"
              "kein Mondaufgang\t18.10.2006\n");
    const Outcome below =
        runWith({"sky", "--place", "69.65N 18.96E", "--at", "2006-10-25", "--days", "1", "--utc"});
    EXPECT_EQ(below.out, "Mond den ganzen Tag unter dem Horizont\t25.10.2006\n");
}

// The records: one per event and nothing else, each instant in UTC and in the zone's local time
// to the second, the kind, and the azimuth and refracted altitude as numbers; the same records in
// TSV and JSON. A day without an event (wholly below the horizon) has none.
TEST(CliSky, OneRecordPerEvent)
{
    const Args berlin = {"sky", "--place", "Berlin", "--at", "2026-12-20", "--days", "2", "--utc"};
    Args tsv = berlin;
    tsv.insert(tsv.end(), {"--format", "tsv"});
    EXPECT_EQ(runWith(tsv).out,
              "utc\tlocal\tkind\tazimuth_deg\taltitude_deg\n"
              "2026-12-20T02:44:56Z\t2026-12-20T02:44:56+00:00\tmoonset\t299.01\t-0.22\n"
              "2026-12-20T11:42:43Z\t2026-12-20T11:42:43+00:00\tmoonrise\t57.55\t-0.22\n"
              "2026-12-20T19:47:23Z\t2026-12-20T19:47:23+00:00\ttransit\t180.00\t57.74\n"
              "2026-12-21T04:15:00Z\t2026-12-21T04:15:00+00:00\tmoonset\t308.37\t-0.22\n"
              "2026-12-21T12:07:49Z\t2026-12-21T12:07:49+00:00\tmoonrise\t49.09\t-0.22\n"
              "2026-12-21T20:46:43Z\t2026-12-21T20:46:43+00:00\ttransit\t180.00\t61.89\n");
    Args json = berlin;
    json.insert(json.end(), {"--format", "json"});
    const Outcome records = runWith(json);
    EXPECT_EQ(records.out.rfind(
                  "[\n{\"utc\":\"2026-12-20T02:44:56Z\",\"local\":\"2026-12-20T02:44:56+00:00\","
                  "\"kind\":\"moonset\",\"azimuth_deg\":299.01,\"altitude_deg\":-0.22},\n",
                  0),
              0u)
        << records.out;
    EXPECT_EQ(std::count(records.out.begin(), records.out.end(), '\n'), 8);
    EXPECT_EQ(runWith({"sky", "--place", "69.65N 18.96E", "--at", "2006-10-25", "--days", "1",
                       "--utc", "--format", "json"})
                  .out,
              "[\n]\n");
}

// ics --rise-set: the phases and eclipses as without it, and each moonrise and moonset of the
// place among them in time order (as many as sky finds on those days), the azimuth as the
// description, UIDs of their own that name the place.
TEST(CliIcs, TheRisingsAndSettingsOfAPlace)
{
    const auto lines = [](const std::string& calendar, const std::string& start) {
        std::vector<std::string> found;
        for (std::size_t at = calendar.find("\r\n" + start); at != std::string::npos;
             at = calendar.find("\r\n" + start, at + 2)) {
            found.push_back(calendar.substr(at + 2, calendar.find("\r\n", at + 2) - at - 2));
        }
        return found;
    };
    const Outcome plain = runWith({"ics", "--at", "2026-12-20", "--months", "1"});
    const Outcome berlin = runWith(
        {"ics", "--at", "2026-12-20", "--months", "1", "--place", "Berlin", "--rise-set", "--utc"});
    const Outcome wien = runWith(
        {"ics", "--at", "2026-12-20", "--months", "1", "--place", "Wien", "--rise-set", "--utc"});
    ASSERT_EQ(berlin.status, ExitSuccess) << berlin.err;
    for (const std::string& summary : lines(plain.out, "SUMMARY:")) {
        EXPECT_NE(berlin.out.find(summary + "\r\n"), std::string::npos) << summary;
    }
    const std::string sky = runWith({"sky", "--place", "Berlin", "--at", "2026-12-20", "--days",
                                     "31", "--utc", "--format", "tsv"})
                                .out;
    const std::vector<std::string> uids = lines(berlin.out, "UID:");
    const auto count = [&uids](const char* part) {
        return std::count_if(uids.begin(), uids.end(), [part](const std::string& uid) {
            return uid.find(part) != std::string::npos;
        });
    };
    const auto occurrences = [](const std::string& text, const std::string& part) {
        std::ptrdiff_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    };
    const std::ptrdiff_t rises = occurrences(sky, "\tmoonrise\t");
    const std::ptrdiff_t sets = occurrences(sky, "\tmoonset\t");
    EXPECT_GT(rises, 25);
    EXPECT_EQ(count("-moonrise-52.5200N13.4100E@lunavista"), rises);
    EXPECT_EQ(count("-moonset-52.5200N13.4100E@lunavista"), sets);
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
    EXPECT_NE(berlin.out.find("UID:20261220-moonrise-52.5200N13.4100E@lunavista\r\n"
                              "DTSTAMP:"),
              std::string::npos);
    EXPECT_NE(berlin.out.find("DTSTART:20261220T114243Z\r\nSUMMARY:Mondaufgang\r\n"
                              "DESCRIPTION:Azimut 57.6\302\260 NO\r\n"),
              std::string::npos);
    for (const std::string& uid : lines(wien.out, "UID:")) {
        if (uid.find("-moonrise-") != std::string::npos ||
            uid.find("-moonset-") != std::string::npos) {
            EXPECT_EQ(std::count(uids.begin(), uids.end(), uid), 0) << uid;
        }
    }
    const std::vector<std::string> starts = lines(berlin.out, "DTSTART:");
    EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    EXPECT_NE(berlin.out.find("X-WR-CALNAME:Mondphasen und Finsternisse mit Mondaufgang und "
                              "Monduntergang\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace cli
