#include "cli/arguments.hpp"
#include "tests/cli/one_line_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace cli {
namespace {

using Args = std::vector<std::string>;

TEST(CliArguments, CommandsOptionsAndTheirOrder)
{
    struct Case {
        Args args;
        Action action;
        Command command;
        bool hasReading;
    };
    const Case cases[] = {
        {{"now"}, Action::Run, Command::Now, false},
        {{"phases"}, Action::Run, Command::Phases, false},
        {{"eclipses"}, Action::Run, Command::Eclipses, false},
        {{"now", "--at", "2025-03-05 14:07:09"}, Action::Run, Command::Now, true},
        {{"--at", "2025-03-05 14:07:09", "phases"}, Action::Run, Command::Phases, true},
        {{"eclipses", "--at=2025-03-05 14:07:09"}, Action::Run, Command::Eclipses, true},
        {{"--help"}, Action::Help, Command::None, false},
        {{"-h"}, Action::Help, Command::None, false},
        {{"now", "--help"}, Action::Help, Command::Now, false},
        {{"--version"}, Action::Version, Command::None, false},
        {{"--version", "--help"}, Action::Help, Command::None, false},
        {{"help"}, Action::Help, Command::None, false},
        {{"version"}, Action::Version, Command::None, false},
        {{"ics", "help"}, Action::Help, Command::Ics, false},
        {{"ics"}, Action::Run, Command::Ics, false},
        {{"phases", "--format", "json"}, Action::Run, Command::Phases, false},
        {{"--format=tsv", "now", "-o", "now.tsv"}, Action::Run, Command::Now, false},
        {{"ics", "--at=20.12.2026", "--months", "24", "--alarm", "15", "--output=mond.ics"},
         Action::Run,
         Command::Ics,
         true},
        {{"--until", "2027-06-30 12:00", "ics", "--alarm=0"}, Action::Run, Command::Ics, false},
        {{"apsides"}, Action::Run, Command::Apsides, false},
        {{"--count=1000", "apsides", "--format", "tsv", "--at", "20.12.2026 21:15"},
         Action::Run,
         Command::Apsides,
         true},
        {{"ics", "--apsides", "--months", "3"}, Action::Run, Command::Ics, false},
        {{"now", "--place", "Berlin"}, Action::Run, Command::Now, false},
        {{"eclipse", "--utc", "--count", "1000"}, Action::Run, Command::Eclipse, false},
        {{"--place", "Wien", "eclipse", "--format=json", "--at", "2026-08-12"},
         Action::Run,
         Command::Eclipse,
         true},
        {{"ics", "--place", "52.52,13.405", "--utc"}, Action::Run, Command::Ics, false},
        {{"--utc", "now", "--place=52\302\26031'N 13\302\26024'E", "--at", "2026-03-29"},
         Action::Run,
         Command::Now,
         true},
        {{"sky", "--place", "Berlin"}, Action::Run, Command::Sky, false},
        {{"--days=366", "sky", "--place", "Wien", "--utc", "--format", "json", "--at",
          "2026-12-20"},
         Action::Run,
         Command::Sky,
         true},
        {{"ics", "--rise-set", "--place", "52.52,13.405", "--apsides"},
         Action::Run,
         Command::Ics,
         false},
    };
    for (const Case& c : cases) {
        const Request request = parseArguments(c.args);
        EXPECT_EQ(request.action, c.action) << c.args.size() << " " << c.args[0];
        EXPECT_EQ(request.command, c.command) << c.args[0];
        EXPECT_EQ(request.hasReading, c.hasReading) << c.args[0];
        EXPECT_TRUE(request.error.empty()) << request.error;
    }
    const Request request = parseArguments({"now", "--at", "2024-02-29 23:59:58"});
    EXPECT_EQ(request.reading.wYear, 2024);
    EXPECT_EQ(request.reading.wMonth, 2);
    EXPECT_EQ(request.reading.wDay, 29);
    EXPECT_EQ(request.reading.wDayOfWeek, 4);  // a Thursday
    EXPECT_EQ(request.reading.wHour, 23);
    EXPECT_EQ(request.reading.wMinute, 59);
    EXPECT_EQ(request.reading.wSecond, 58);
    EXPECT_EQ(request.reading.wMilliseconds, 0);

    EXPECT_EQ(parseArguments({"phases", "--format", "json"}).format, Format::Json);
    EXPECT_EQ(parseArguments({"--format=tsv", "now"}).format, Format::Tsv);
    EXPECT_EQ(parseArguments({"now"}).format, Format::Text);
    const Request ics = parseArguments(
        {"ics", "--at=20.12.2026", "--months", "24", "--alarm", "15", "--output=mond.ics"});
    EXPECT_EQ(ics.months, 24);
    EXPECT_EQ(ics.alarmMinutes, 15);
    EXPECT_EQ(ics.outputPath, "mond.ics");
    EXPECT_FALSE(ics.until);
    const Request until = parseArguments({"--until", "2027-06-30 12:00", "ics", "-o", "a b.ics"});
    ASSERT_TRUE(until.until);
    EXPECT_EQ(until.until->wDay, 30);
    EXPECT_EQ(until.until->wHour, 12);
    EXPECT_EQ(until.outputPath, "a b.ics");
    EXPECT_FALSE(until.months);
    EXPECT_FALSE(until.alarmMinutes);
    EXPECT_FALSE(until.apsides);

    EXPECT_EQ(parseArguments({"--count=1000", "apsides"}).count, 1000);
    EXPECT_EQ(parseArguments({"apsides", "--count", "0001"}).count, 1);
    EXPECT_FALSE(parseArguments({"apsides"}).count);
    EXPECT_TRUE(parseArguments({"ics", "--apsides", "--months", "3"}).apsides);

    const Request place = parseArguments({"now", "--place", "-33.87,151.21", "--utc"});
    ASSERT_TRUE(place.place);
    EXPECT_EQ(place.place->latitudeDeg, -33.87);
    EXPECT_EQ(place.place->longitudeDeg, 151.21);
    EXPECT_TRUE(place.utc);
    EXPECT_FALSE(parseArguments({"now"}).place);
    EXPECT_FALSE(parseArguments({"now", "--place", "Berlin"}).utc);
    EXPECT_EQ(parseArguments({"sky", "--place", "Bonn", "--days", "366"}).days, 366);
    EXPECT_FALSE(parseArguments({"sky", "--place", "Bonn"}).days);
    EXPECT_TRUE(parseArguments({"ics", "--place", "Bonn", "--rise-set"}).riseSet);
}

TEST(CliArguments, BadCommandLinesAreErrorsWithAReason)
{
    struct Case {
        Args args;
        const char* reason;  // a part of the message
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"--at", "2025-03-05 14:07:09"}, "no command given"},
        {{"later"}, "unknown command \"later\""},
        {{""}, "unknown command \"\""},
        {{"now", "phases"}, "only one command"},
        {{"now", "--verbose"}, "unknown option \"--verbose\""},
        {{"now", "-"}, "unknown option"},
        {{"now", "--at"}, "--at needs a value"},
        {{"now", "--at", "2025-03-05 14:07:09", "--at", "2025-03-05 14:07:09"}, "more than once"},
        {{"now", "--at", "2025-02-30 12:00:00"}, "2025-02 has no day 30"},
        {{"now", "--at", "2025-03-05 25:00:00"}, "no time of day 25:00:00"},
        {{"now", "--at", "bogus", "--help"}, "expected YYYY-MM-DD[ HH:MM[:SS]] or TT.MM.JJJJ"},
        // The time typed apart from its date, and a date without --at.
        {{"now", "--at", "2026-12-20", "21:15:00"},
         "quote the date and the time as one, --at \"2026-12-20 21:15:00\""},
        {{"ics", "--until=2027-01-01", "9:30"}, "--until \"2027-01-01 9:30\""},
        {{"now", "2026-12-20"}, "a date is given with --at, as in --at \"2026-12-20\""},
        {{"phases", "20.12.2026", "21:15"}, "--at \"20.12.2026 21:15\""},
        {{"phases", "2025-02-30"}, "--at \"2025-02-30\""},
        {{"now", "21:15"}, "unknown command \"21:15\""},
        // The options of the formats and the calendar.
        {{"now", "--format", "xml"}, "invalid --format value \"xml\": expected text, tsv or json"},
        {{"now", "--format"}, "--format needs a value"},
        {{"ics", "--format", "json"},
         "--format applies to now, phases, eclipses, apsides, sky and eclipse"},
        {{"now", "--months", "3"}, "--months applies to ics only"},
        {{"phases", "--until", "2027-01-01"}, "--until applies to ics only"},
        {{"eclipses", "--alarm", "5"}, "--alarm applies to ics only"},
        {{"ics", "--months", "0"}, "expected a whole number of months 1-1200"},
        {{"ics", "--months", "1201"}, "1-1200"},
        {{"ics", "--months", "+3"}, "1-1200"},
        {{"ics", "--months", "12x"}, "1-1200"},
        {{"ics", "--months", "99999999999"}, "1-1200"},
        {{"ics", "--alarm", "10081"}, "0-10080"},
        {{"ics", "--alarm", "-5"}, "0-10080"},
        {{"ics", "--months", "3", "--until", "2027-01-01"}, "give one of them"},
        {{"ics", "--months", "2", "--months", "3"}, "--months is given more than once"},
        {{"ics", "--until", "2027-02-29"}, "invalid --until value \"2027-02-29\": 2027-02 has"},
        {{"ics", "-o"}, "-o needs a value"},
        {{"ics", "-o", ""}, "-o needs a value"},
        {{"ics", "-o", "a", "--output", "b"}, "--output is given more than once"},
        // The apsides' count, and the apsides in the calendar.
        {{"apsides", "--count", "0"},
         "invalid --count value \"0\": expected a whole number of apsides 1-1000"},
        {{"apsides", "--count=1001"}, "1-1000"},
        {{"apsides", "--count", "-4"}, "1-1000"},
        {{"apsides", "--count", "4 "}, "1-1000"},
        {{"apsides", "--count"}, "--count needs a value, a whole number of apsides 1-1000"},
        {{"apsides", "--count", "4", "--count=4"}, "--count is given more than once"},
        {{"phases", "--count", "4"}, "--count applies to apsides and eclipse only"},
        {{"ics", "--count", "4"}, "--count applies to apsides and eclipse only"},
        {{"eclipse", "--count", "1001"},
         "invalid --count value \"1001\": expected a whole number of eclipses 1-1000"},
        {{"--count", "0", "eclipse"}, "expected a whole number of apsides or eclipses 1-1000"},
        {{"eclipse", "--months", "2"}, "--months applies to ics only"},
        {{"apsides", "--months", "2"}, "--months applies to ics only"},
        {{"apsides", "--apsides"}, "--apsides applies to ics only"},
        {{"ics", "--apsides=yes"}, "--apsides takes no value"},
        {{"ics", "--apsides", "--apsides"}, "--apsides is given more than once"},
        // The place, and its local time as UTC.
        {{"now", "--place", "Atlantis"},
         "invalid --place value \"Atlantis\": is no city known here and no latitude and "
         "longitude; give latitude and longitude as 52.52,13.405 or 52.52N 13.405E or 52 31N"},
        {{"now", "--place", "M\303\274nchn"}, "\"M\303\274nchn\": is no city"},
        {{"now", "--place=95,13"}, "the latitude lies beyond 90 degrees"},
        {{"now", "--place"}, "--place needs a value, a place such as 52.52,13.405 or Berlin"},
        {{"now", "--place", "Bonn", "--place", "Bonn"}, "--place is given more than once"},
        {{"phases", "--place", "Bonn"}, "--place applies to now, sky, eclipse and ics only"},
        {{"eclipses", "--utc"}, "--utc applies to now, sky, eclipse and ics only"},
        // sky needs a place; the calendar takes one for its eclipses and, with --rise-set, for
        // its risings and settings.
        {{"sky"}, "sky needs --place, latitude and longitude as 52.52,13.405"},
        {{"sky", "--place", "Bonn", "--days", "0"},
         "invalid --days value \"0\": expected a whole number of days 1-366"},
        {{"sky", "--place", "Bonn", "--days=367"}, "1-366"},
        {{"sky", "--place", "Bonn", "--days", "3", "--days", "4"},
         "--days is given more than once"},
        {{"now", "--days", "3"}, "--days applies to sky only"},
        {{"sky", "--place", "Bonn", "--months", "2"}, "--months applies to ics only"},
        {{"sky", "--place", "Bonn", "--rise-set"}, "--rise-set applies to ics only"},
        {{"ics", "--rise-set"}, "--rise-set needs --place"},
        {{"ics", "--place", "Bonn", "--rise-set=yes"}, "--rise-set takes no value"},
        {{"now", "--utc"}, "--utc goes with --place"},
        {{"ics", "--utc"}, "--utc goes with --place"},
        {{"now", "--place", "Bonn", "--utc=yes"}, "--utc takes no value"},
    };
    for (const Case& c : cases) {
        const Request request = parseArguments(c.args);
        EXPECT_EQ(request.action, Action::Error) << c.reason;
        EXPECT_NE(request.error.find(c.reason), std::string::npos) << request.error;
        EXPECT_EQ(request.error.find('\n'), std::string::npos) << request.error;
    }
}

// Every form a reading may be typed in, read as the local wall clock, and what is refused.
TEST(CliReading, TheFormsPeopleTypeAndWhatIsRefused)
{
    struct Case {
        const char* text;
        const char* reading;  // the accepted reading, "YYYY-MM-DD HH:MM:SS"; nullptr: refused
        const char* reason;   // a part of the refusal
    };
    const Case cases[] = {
        {"2026-12-20 21:15:07", "2026-12-20 21:15:07", nullptr},
        {"2026-12-20 21:15", "2026-12-20 21:15:00", nullptr},
        {"2026-12-20", "2026-12-20 00:00:00", nullptr},
        {"2026-12-20T21:15:07", "2026-12-20 21:15:07", nullptr},
        {"2026-12-20T21:15", "2026-12-20 21:15:00", nullptr},
        {"20.12.2026", "2026-12-20 00:00:00", nullptr},
        {"20.12.2026 21:15", "2026-12-20 21:15:00", nullptr},
        {"20.12.2026 21:15:07", "2026-12-20 21:15:07", nullptr},
        {"1601-01-01 00:00:00", "1601-01-01 00:00:00", nullptr},
        {"30827-12-31 23:59:59", "30827-12-31 23:59:59", nullptr},
        {"31.12.30827 23:59", "30827-12-31 23:59:00", nullptr},
        {"2024-02-29 12:00:00", "2024-02-29 12:00:00", nullptr},
        {"29.02.2000", "2000-02-29 00:00:00", nullptr},
        {"1999-12-31T23:59:59", "1999-12-31 23:59:59", nullptr},
        // Impossible dates and times keep their precise reasons, in every form.
        {"2025-02-29 12:00:00", nullptr, "2025-02 has no day 29"},  // not a leap year
        {"2100-02-29", nullptr, "2100-02 has no day 29"},           // a century, no leap year
        {"31.04.2025", nullptr, "2025-04 has no day 31"},
        {"2025-01-00 12:00", nullptr, "has no day 00"},
        {"2025-13-01 12:00:00", nullptr, "no month 13"},
        {"01.00.2025", nullptr, "no month 00"},
        {"2025-03-05 24:00:00", nullptr, "no time of day 24:00:00"},
        {"2025-03-05T12:60", nullptr, "no time of day 12:60"},
        {"05.03.2025 12:00:60", nullptr, "no time of day 12:00:60"},  // no leap seconds
        {"1600-12-31 23:59:59", nullptr, "the year must lie within 1601-30827"},
        {"31.12.1600", nullptr, "1601-30827"},
        {"30828-01-01", nullptr, "1601-30827"},
        {"00000-01-01 00:00:00", nullptr, "1601-30827"},
        // Malformed.
        {"2025-3-5 14:07:09", nullptr, "expected YYYY-MM-DD[ HH:MM[:SS]] or TT.MM.JJJJ"},
        {"5.3.2025", nullptr, "expected"},
        {"20.12.26", nullptr, "expected"},
        {"20.12.2026T21:15", nullptr, "expected"},  // T only in the ISO form
        {"2026-12-20t21:15", nullptr, "expected"},
        {"2026-12-20 21", nullptr, "expected"},
        {"2026-12-20 21:15:", nullptr, "expected"},
        {"2026-12-20 21:15:07.5", nullptr, "expected"},
        {"2026-12-20  21:15", nullptr, "expected"},
        {"2026-12-20 ", nullptr, "expected"},
        {" 2026-12-20", nullptr, "expected"},
        {"2026/12/20", nullptr, "expected"},
        {"+025-03-05 14:07:09", nullptr, "expected"},
        {"2025-03-05 14:07:0x", nullptr, "expected"},
        {"123456-03-05 14:07:09", nullptr, "expected"},
        {"", nullptr, "expected"},
    };
    for (const Case& c : cases) {
        astro::SystemTime reading;
        std::string error;
        const bool accepted = parseReading(c.text, reading, error);
        if (c.reading == nullptr) {
            EXPECT_FALSE(accepted) << c.text;
            EXPECT_EQ(error.rfind(std::string("invalid --at value \"") + c.text + "\": ", 0), 0u)
                << error;
            EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
            continue;
        }
        ASSERT_TRUE(accepted) << c.text << ": " << error;
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", reading.wYear,
                      reading.wMonth, reading.wDay, reading.wHour, reading.wMinute,
                      reading.wSecond);
        EXPECT_EQ(std::string(text), c.reading) << c.text;
        EXPECT_EQ(reading.wMilliseconds, 0) << c.text;
    }
}

// UTF-8 reads as typed; what would break the line or the terminal, and bytes that are no UTF-8,
// show as escapes; the cut after 60 characters never splits one.
TEST(CliReading, QuotesWhateverWasTypedOnOneLine)
{
    struct Case {
        std::string typed;
        std::string quoted;
    };
    const Case cases[] = {
        {"now", "\"now\""},
        {"a\nb\tc\x7F", "\"a\\x0Ab\\x09c\\x7F\""},
        {"\"\\", "\"\\\"\\\\\""},
        {"m\xC3\xB6nd.ics", "\"m\xC3\xB6nd.ics\""},                              // ö
        {"\xE2\x82\xAC \xF0\x9F\x8C\x95", "\"\xE2\x82\xAC \xF0\x9F\x8C\x95\""},  // €, a full moon
        {"m\xF6nd", "\"m\\xF6nd\""},                         // Windows-1252, no UTF-8
        {"\xC2\x85|\xC2\xA0", "\"\\xC2\\x85|\xC2\xA0\""},    // a C1 control; no-break space
        {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82",  // overlong, surrogate, too
         "\"\\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 \\xE2\\x82\""},  // large, cut short
        {std::string(100, 'x'), "\"" + std::string(60, 'x') + "...\""},
        {std::string(59, 'x') + "\xC3\xA4\xC3\xA4", "\"" + std::string(59, 'x') + "\xC3\xA4...\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quotedForMessage(c.typed), c.quoted) << c.typed;
    }
}

// Deterministic mutations of valid command lines (a fixed-seed generator): the parser answers
// every one with a result, and every error is one printable line.
TEST(CliArguments, SurvivesMutatedCommandLines)
{
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const Args seeds[] = {
        {"now", "--at", "2025-03-05 14:07:09"},
        {"phases", "--at=30827-12-31 23:59:59"},
        {"eclipses", "--version"},
        {"ics", "--at", "20.12.2026 21:15", "--months", "12", "--alarm", "30"},
        {"now", "--format=json", "--at", "2026-12-20T21:15"},
        {"ics", "--until", "2027-06-30", "-o", "x.ics"},
        {"apsides", "--count", "12", "--format=tsv", "--at", "2026-12-20 21:15"},
        {"ics", "--apsides", "--at=2026-12-20"},
        {"now", "--place", "52\302\26031'N 13\302\26024'E", "--utc"},
        {"now", "--place=M\303\274nchen", "--format", "tsv"},
        {"sky", "--place", "Berlin", "--days", "30", "--utc"},
        {"ics", "--place=47.37N 8.54E", "--rise-set", "--months", "2"},
    };
    int errors = 0;
    for (int round = 0; round < 20000; ++round) {
        Args args = seeds[next() % std::size(seeds)];
        for (int edits = 1 + next() % 4; edits > 0; --edits) {
            std::string& arg = args[next() % args.size()];
            const std::uint32_t what = next() % 4;
            const auto byte = static_cast<char>(next() % 256);
            if (what == 0 && !arg.empty()) {
                arg[next() % arg.size()] = byte;
            } else if (what == 1) {
                arg.insert(arg.begin() + static_cast<long>(next() % (arg.size() + 1)), byte);
            } else if (what == 2 && !arg.empty()) {
                arg.erase(next() % arg.size(), 1);
            } else {
                args.push_back(std::string(1, byte));
            }
        }
        const Request request = parseArguments(args);
        if (request.action == Action::Error) {
            ++errors;
            ASSERT_FALSE(request.error.empty());
            ASSERT_TRUE(test::isOneLineOfText(request.error)) << request.error;
        } else {
            ASSERT_TRUE(!request.count || (*request.count >= 1 && *request.count <= 1000));
            ASSERT_TRUE(!request.days || (*request.days >= 1 && *request.days <= 366));
            ASSERT_TRUE(request.command != Command::Sky || request.place);
            ASSERT_TRUE(!request.place || (std::fabs(request.place->latitudeDeg) <= 90 &&
                                           std::fabs(request.place->longitudeDeg) <= 180));
            if (request.hasReading) {
                ASSERT_GE(request.reading.wYear, FirstYear);
                ASSERT_LE(request.reading.wYear, LastYear);
                ASSERT_LE(request.reading.wHour, 23);
            }
        }
    }
    EXPECT_GT(errors, 10000);
}

}  // namespace
}  // namespace cli
