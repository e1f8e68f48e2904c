// The command line of lunavista-cli, parsed without side effects so that any argument list can
// be tried against it.
//
//   lunavista-cli now [--at DATE] [--place PLACE [--utc]] [--format text|tsv|json] [-o FILE]
//   lunavista-cli phases|eclipses [--at DATE] [--format text|tsv|json] [-o FILE]
//   lunavista-cli apsides [--at DATE] [--count N] [--format text|tsv|json] [-o FILE]
//   lunavista-cli sky --place PLACE [--at DATE] [--days N] [--utc] [--format text|tsv|json]
//                     [-o FILE]
//   lunavista-cli ics [--at DATE] [--months N | --until DATE] [--alarm MINUTES] [--apsides]
//                     [--place PLACE [--rise-set] [--utc]] [-o FILE]
//   lunavista-cli eclipse [--at DATE] [--count N] [--place PLACE] [--utc]
//                     [--format text|tsv|json] [-o FILE]
//   lunavista-cli help | version | --help | -h | --version
#pragma once

#include "events/place.hpp"

#include "astro/system_time.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Action { Run, Help, Version, Error };
enum class Command { None, Now, Phases, Eclipses, Apsides, Sky, Ics, Eclipse };
enum class Format { Text, Tsv, Json };

struct Request {
    Action action = Action::Error;
    Command command = Command::None;
    bool hasReading = false;    // --at was given
    astro::SystemTime reading;  // the --at reading, local wall clock
    Format format = Format::Text;
    std::optional<int> months;               // ics: --months
    std::optional<astro::SystemTime> until;  // ics: --until, local wall clock
    std::optional<int> alarmMinutes;         // ics: --alarm
    bool apsides = false;                    // ics: --apsides
    std::optional<int> count;                // apsides, eclipse: --count
    std::optional<int> days;                 // sky: --days
    bool riseSet = false;                    // ics: --rise-set
    std::optional<events::GeoPlace> place;   // now, sky, eclipse, ics: --place
    bool utc = false;  // --utc: the local time is UTC (with --place; eclipse also without)
    std::optional<std::string> outputPath;  // -o / --output
    std::string error;                      // one line, no newline, for Action::Error
};

// The years a reading may have: those of the platform's calendar record.
inline constexpr int FirstYear = 1601;
inline constexpr int LastYear = 30827;

// The calendar's range in months: 12 unless --months says otherwise; at most a century, however
// the range is given.
inline constexpr int DefaultMonths = 12;
inline constexpr int MostMonths = 1200;

// A reminder at most a week before the event.
inline constexpr int MostAlarmMinutes = 7 * 24 * 60;

// The apsides listed: 4 unless --count says otherwise, at most some 37 years of them.
inline constexpr int DefaultApsisCount = 4;
inline constexpr int MostApsisCount = 1000;

// The days of sky: 7 unless --days says otherwise, at most a leap year's.
inline constexpr int DefaultSkyDays = 7;
inline constexpr int MostSkyDays = 366;

// The eclipses listed: 5 unless --count says otherwise, at most as many as apsides (some 220
// years of eclipses).
inline constexpr int DefaultEclipseCount = 5;

// Parses the arguments after the program name. Options may stand before or after the command;
// an option's value follows as the next argument or after "=". --help (also -h and the word
// help) wins over everything else that parses, then --version (and version). The first fault
// ends the parse with Action::Error.
Request parseArguments(const std::vector<std::string>& arguments);

// A local wall-clock reading in one of the forms people type (a year of four or five digits,
// 1601..30827):
//   YYYY-MM-DD, YYYY-MM-DD HH:MM, YYYY-MM-DD HH:MM:SS (or with T instead of the blank),
//   TT.MM.JJJJ, TT.MM.JJJJ HH:MM, TT.MM.JJJJ HH:MM:SS.
// A date alone is its midnight, missing seconds are 0. Gives the reading with its weekday, or
// false with a one-line reason for anything malformed or impossible (2025-02-30, 25:00), which
// begins "invalid <option> value".
bool parseReading(std::string_view text, astro::SystemTime& reading, std::string& error,
                  std::string_view option = "--at");

// The text quoted for an error message: UTF-8 text as it is (a file name with umlauts reads as
// typed), control characters and bytes that are no UTF-8 as \xNN, long texts shortened after 60
// characters, so that the message stays one line whatever was typed.
std::string quotedForMessage(std::string_view text);

}  // namespace cli
