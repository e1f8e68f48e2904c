#include "cli/cli.hpp"

#include "cli/arguments.hpp"

#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "events/encoding.hpp"
#include "events/number_format.hpp"
#include "events/page_texts.hpp"

#include "astro/time_scale.hpp"

#include <cmath>

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

std::string phasesReport(const astro::SystemTime& reading)
{
    return listReport(events::phaseListLinesAt(reading));
}

std::string eclipsesReport(const astro::SystemTime& reading)
{
    return listReport(events::eclipseListLinesAt(reading));
}

std::string helpText()
{
    return "Usage: lunavista-cli <command> [--at \"YYYY-MM-DD HH:MM:SS\"]\n"
           "       lunavista-cli --help | --version\n"
           "\n"
           "Where the Moon stands in its cycle and when the coming phases and eclipses are,\n"
           "computed as the Lunavista window does (texts in German).\n"
           "Times: lists show UTC in winter, UTC+1h in summer; count-down assumes UTC+1h.\n"
           "\n"
           "Commands:\n"
           "  now       the illuminated fraction in percent, the nearest principal phase\n"
           "            and the count-down to or since it (days, hours, minutes, seconds)\n"
           "  phases    the next New Moon, First Quarter, Full Moon and Last Quarter\n"
           "  eclipses  the next partial and total lunar eclipse and the next partial,\n"
           "            total and annular solar eclipse\n"
           "\n"
           "Options:\n"
           "  --at \"YYYY-MM-DD HH:MM:SS\"  use this local wall-clock reading (years\n"
           "                              1601-30827) instead of the clock\n"
           "  --help                      show this help\n"
           "  --version                   show the version\n"
           "\n"
           "Output: UTF-8, one record per line ending in LF (also on Windows), fields\n"
           "separated by one TAB. Exit status 0, or 2 for a usage error.\n";
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
        err += "lunavista-cli: " + request.error + " (see --help)\n";
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
    switch (request.command) {
    case Command::Now:
        out += nowReport(reading);
        break;
    case Command::Phases:
        out += phasesReport(reading);
        break;
    case Command::Eclipses:
        out += eclipsesReport(reading);
        break;
    case Command::None:
        break;
    }
    return ExitSuccess;
}

}  // namespace cli
