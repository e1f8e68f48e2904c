#include "cli/arguments.hpp"

#include "events/calendar.hpp"

#include <cstdint>
#include <cstdio>

namespace cli {
namespace {

constexpr std::size_t QuotedLengthLimit = 60;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads `count` digits at `pos` as a number; false when one of them is not a digit.
bool readDigits(std::string_view text, std::size_t pos, std::size_t count, int& value)
{
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (!isDigit(text[i])) {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string twoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

int monthLength(int year, int month)
{
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[month - 1] + (month == 2 ? events::leapFlag(year) : 0);
}

Request failure(std::string message)
{
    Request request;
    request.action = Action::Error;
    request.error = std::move(message);
    return request;
}

bool commandNamed(std::string_view name, Command& command)
{
    if (name == "now") {
        command = Command::Now;
    } else if (name == "phases") {
        command = Command::Phases;
    } else if (name == "eclipses") {
        command = Command::Eclipses;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string quotedForMessage(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    std::size_t shown = 0;
    for (const char c : text) {
        if (shown == QuotedLengthLimit) {
            out += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
        ++shown;
    }
    return out + "\"";
}

bool parseReading(std::string_view text, astro::SystemTime& reading, std::string& error)
{
    // A four- or five-digit year, then "-MM-DD HH:MM:SS".
    const std::size_t yearDigits = text.size() == 19 ? 4 : text.size() == 20 ? 5 : 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    const std::size_t y = yearDigits;
    const bool wellFormed = yearDigits != 0 && readDigits(text, 0, yearDigits, year) &&
                            text[y] == '-' && readDigits(text, y + 1, 2, month) &&
                            text[y + 3] == '-' && readDigits(text, y + 4, 2, day) &&
                            text[y + 6] == ' ' && readDigits(text, y + 7, 2, hour) &&
                            text[y + 9] == ':' && readDigits(text, y + 10, 2, minute) &&
                            text[y + 12] == ':' && readDigits(text, y + 13, 2, second);
    const std::string prefix = "invalid --at value " + quotedForMessage(text) + ": ";
    if (!wellFormed) {
        error = prefix + "expected \"YYYY-MM-DD HH:MM:SS\"";
        return false;
    }
    if (year < FirstYear || year > LastYear) {
        error = prefix + "the year must lie within " + std::to_string(FirstYear) + "-" +
                std::to_string(LastYear);
        return false;
    }
    if (month < 1 || month > 12) {
        error = prefix + "there is no month " + twoDigits(month);
        return false;
    }
    if (day < 1 || day > monthLength(year, month)) {
        error = prefix + std::to_string(year) + "-" + twoDigits(month) + " has no day " +
                twoDigits(day);
        return false;
    }
    if (hour > 23 || minute > 59 || second > 59) {
        error = prefix + "there is no time of day " + twoDigits(hour) + ":" + twoDigits(minute) +
                ":" + twoDigits(second);
        return false;
    }
    reading = astro::wallClockReading(year, month, day, hour, minute, second);
    reading.wDayOfWeek = static_cast<std::uint16_t>(events::weekdayOf(year, month, day));
    return true;
}

Request parseArguments(const std::vector<std::string>& arguments)
{
    Request request;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--at" || argument.substr(0, 5) == "--at=") {
            if (request.hasReading) {
                return failure("--at is given more than once");
            }
            std::string_view value;
            if (argument == "--at") {
                if (i + 1 == arguments.size()) {
                    return failure("--at needs a value \"YYYY-MM-DD HH:MM:SS\"");
                }
                value = arguments[++i];
            } else {
                value = argument.substr(5);
            }
            std::string error;
            if (!parseReading(value, request.reading, error)) {
                return failure(error);
            }
            request.hasReading = true;
        } else if (!argument.empty() && argument[0] == '-') {
            return failure("unknown option " + quotedForMessage(argument));
        } else {
            Command command = Command::None;
            if (!commandNamed(argument, command)) {
                return failure("unknown command " + quotedForMessage(argument) +
                               " (commands: now, phases, eclipses)");
            }
            if (request.command != Command::None) {
                return failure("only one command at a time, not also " +
                               quotedForMessage(argument));
            }
            request.command = command;
        }
    }
    if (help) {
        request.action = Action::Help;
    } else if (version) {
        request.action = Action::Version;
    } else if (request.command == Command::None) {
        return failure("no command given (commands: now, phases, eclipses)");
    } else {
        request.action = Action::Run;
    }
    return request;
}

}  // namespace cli
