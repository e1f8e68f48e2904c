// The command line of lunavista-cli, parsed without side effects so that any argument list can
// be tried against it.
//
//   lunavista-cli now|phases|eclipses [--at "YYYY-MM-DD HH:MM:SS"]
//   lunavista-cli --help | --version
#pragma once

#include "astro/system_time.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Action { Run, Help, Version, Error };
enum class Command { None, Now, Phases, Eclipses };

struct Request {
    Action action = Action::Error;
    Command command = Command::None;
    bool hasReading = false;    // --at was given
    astro::SystemTime reading;  // the --at reading, local wall clock
    std::string error;          // one line, no newline, for Action::Error
};

// The years a reading may have: those of the platform's calendar record.
inline constexpr int FirstYear = 1601;
inline constexpr int LastYear = 30827;

// Parses the arguments after the program name. Options may stand before or after the command;
// --at takes its value as the next argument or after "=". --help wins over everything else that
// parses, then --version. The first fault ends the parse with Action::Error.
Request parseArguments(const std::vector<std::string>& arguments);

// "YYYY-MM-DD HH:MM:SS" (a year of four or five digits, 1601..30827) as a reading with its
// weekday; false with a one-line reason for anything malformed or impossible (2025-02-30,
// 25:00:00).
bool parseReading(std::string_view text, astro::SystemTime& reading, std::string& error);

// The text quoted for an error message: printable ASCII kept, every other byte as \xNN, long
// texts shortened, so that the message stays one line whatever was typed.
std::string quotedForMessage(std::string_view text);

}  // namespace cli
