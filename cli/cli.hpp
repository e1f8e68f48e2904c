// What lunavista-cli prints, as strings, so that the whole program can be run in a test.
#pragma once

#include "events/current_phase.hpp"

#include "astro/system_time.hpp"

#include <string>
#include <vector>

namespace cli {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitUsage = 2;

// Shown instead of an invented value when two principal phases are equally near.
inline constexpr const char* NoNearestPhase = "(none: two phases equally near)";

// The four lines of "now" for a local reading (UTF-8, LF, fields split by one TAB):
//   fraction<TAB><percent lit one hour before the reading, 5 decimals>
//   event<TAB><the event line, with its leading and trailing space>
//   countdown<TAB><days><TAB><hours><TAB><minutes><TAB><seconds>
//   dial<TAB><hh:mm:ss>
std::string nowReport(const astro::SystemTime& reading);

// The same lines from their values: the gauge value in percent and the nearest phase.
std::string nowReport(double gaugeValue, const events::NearestPhase& nearest);

// One line per list entry, in list order: <heading> ist in<TAB><day count><TAB><date>.
std::string phasesReport(const astro::SystemTime& reading);
std::string eclipsesReport(const astro::SystemTime& reading);

std::string helpText();
std::string versionText();

// The whole program: parses the arguments (after the program name), reads the local clock once
// when no --at is given, and fills `out` and `err`. Returns the exit status: 0, or 2 for a
// usage error (one line on `err`, nothing on `out`).
int run(const std::vector<std::string>& arguments, std::string& out, std::string& err);

}  // namespace cli
