#include "cli/arguments.hpp"

#include <gtest/gtest.h>

#include <cstdint>
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
        {{"now", "--at", "bogus", "--help"}, "expected \"YYYY-MM-DD HH:MM:SS\""},
    };
    for (const Case& c : cases) {
        const Request request = parseArguments(c.args);
        EXPECT_EQ(request.action, Action::Error) << c.reason;
        EXPECT_NE(request.error.find(c.reason), std::string::npos) << request.error;
        EXPECT_EQ(request.error.find('\n'), std::string::npos) << request.error;
    }
}

TEST(CliReading, AcceptsEveryValidReadingOfThePlatformsYears)
{
    const char* valid[] = {
        "1601-01-01 00:00:00", "30827-12-31 23:59:59", "2024-02-29 12:00:00",
        "2000-02-29 00:00:00", "1999-12-31 23:59:59",  "2025-07-20 12:00:00",
    };
    for (const char* text : valid) {
        astro::SystemTime reading;
        std::string error;
        EXPECT_TRUE(parseReading(text, reading, error)) << text << ": " << error;
    }
}

TEST(CliReading, RejectsMalformedAndImpossibleReadings)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"2025-02-29 12:00:00", "has no day 29"},  // not a leap year
        {"2100-02-29 12:00:00", "has no day 29"},  // a century, not a leap year
        {"2025-04-31 12:00:00", "has no day 31"},
        {"2025-01-00 12:00:00", "has no day 00"},
        {"2025-13-01 12:00:00", "no month 13"},
        {"2025-00-01 12:00:00", "no month 00"},
        {"2025-03-05 24:00:00", "no time of day"},
        {"2025-03-05 12:60:00", "no time of day"},
        {"2025-03-05 12:00:60", "no time of day"},  // no leap seconds in the record
        {"1600-12-31 23:59:59", "1601-30827"},
        {"30828-01-01 00:00:00", "1601-30827"},
        {"00000-01-01 00:00:00", "1601-30827"},
        {"2025-3-5 14:07:09", "expected"},
        {"2025-03-05T14:07:09", "expected"},
        {"2025-03-05 14:07", "expected"},
        {"2025-03-05 14:07:09 ", "expected"},
        {" 2025-03-05 14:07:09", "expected"},
        {"2025-03-05  14:07:9", "expected"},
        {"+025-03-05 14:07:09", "expected"},
        {"2025-03-05 14:07:0x", "expected"},
        {"123456-03-05 14:07:09", "expected"},
        {"", "expected"},
    };
    for (const Case& c : cases) {
        astro::SystemTime reading;
        std::string error;
        EXPECT_FALSE(parseReading(c.text, reading, error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    }
}

TEST(CliReading, QuotesWhateverWasTypedOnOneLine)
{
    EXPECT_EQ(quotedForMessage("now"), "\"now\"");
    EXPECT_EQ(quotedForMessage("a\nb\tc"), "\"a\\x0Ab\\x09c\"");
    EXPECT_EQ(quotedForMessage("\"\\"), "\"\\\"\\\\\"");
    EXPECT_EQ(quotedForMessage("\xC3\xA4"), "\"\\xC3\\xA4\"");
    EXPECT_EQ(quotedForMessage(std::string(100, 'x')), "\"" + std::string(60, 'x') + "...\"");
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
    };
    int errors = 0;
    for (int round = 0; round < 20000; ++round) {
        Args args = seeds[next() % 3];
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
            for (const char c : request.error) {
                const auto u = static_cast<unsigned char>(c);
                ASSERT_TRUE(u >= 0x20 && u < 0x7F) << request.error;
            }
        } else if (request.hasReading) {
            ASSERT_GE(request.reading.wYear, FirstYear);
            ASSERT_LE(request.reading.wYear, LastYear);
            ASSERT_LE(request.reading.wHour, 23);
        }
    }
    EXPECT_GT(errors, 10000);
}

}  // namespace
}  // namespace cli
