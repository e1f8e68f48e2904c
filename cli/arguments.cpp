#include "cli/arguments.hpp"

#include "events/calendar.hpp"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <utility>

namespace cli {
namespace {

constexpr std::size_t QuotedLengthLimit = 60;

// The length of the well-formed UTF-8 sequence the text starts with (1-4 bytes), or 0 where it
// starts with a byte that begins none: a stray continuation byte, an overlong form, a surrogate,
// a code point beyond U+10FFFF or a sequence cut short.
std::size_t utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;   // the range of the second byte, narrowed for the lead bytes
    unsigned char high = 0xBF;  // that would otherwise allow overlongs or surrogates
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// C0 controls, DEL and the C1 controls (U+0080..U+009F, two bytes C2 80..C2 9F in UTF-8): a
// terminal may act on them instead of showing them.
bool isControlCharacter(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        return lead < 0x20 || lead == 0x7F;
    }
    return character.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
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

// Reads a text from left to right.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // How many digits follow.
    std::size_t digitsAhead() const
    {
        std::size_t n = 0;
        while (pos_ + n < text_.size() && isDigit(text_[pos_ + n])) {
            ++n;
        }
        return n;
    }

    // Exactly `count` digits as a number (no more digits may follow).
    bool number(std::size_t count, int& value)
    {
        if (digitsAhead() != count) {
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            value = value * 10 + (text_[pos_++] - '0');
        }
        return true;
    }

    bool literal(char c)
    {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool atEnd() const
    {
        return pos_ == text_.size();
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The fields of a reading as typed, before any check of their values.
struct TypedReading {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool hasTime = false;
    bool hasSeconds = false;
};

// The year of four or five digits at the scanner.
bool year(Scanner& s, int& value)
{
    const std::size_t digits = s.digitsAhead();
    return (digits == 4 || digits == 5) && s.number(digits, value);
}

// Whether the text has one of the accepted forms, and its fields.
bool typedReading(std::string_view text, TypedReading& r)
{
    Scanner s(text);
    bool iso = true;
    if (!(year(s, r.year) && s.literal('-') && s.number(2, r.month) && s.literal('-') &&
          s.number(2, r.day))) {
        s = Scanner(text);
        iso = false;
        if (!(s.number(2, r.day) && s.literal('.') && s.number(2, r.month) && s.literal('.') &&
              year(s, r.year))) {
            return false;
        }
    }
    if (s.atEnd()) {
        return true;
    }
    if (!(s.literal(' ') || (iso && s.literal('T')))) {
        return false;
    }
    if (!(s.number(2, r.hour) && s.literal(':') && s.number(2, r.minute))) {
        return false;
    }
    r.hasTime = true;
    if (s.literal(':')) {
        if (!s.number(2, r.second)) {
            return false;
        }
        r.hasSeconds = true;
    }
    return s.atEnd();
}

// "21:15" or "9:15:00": a time of day typed as an argument of its own.
bool looksLikeTime(std::string_view text)
{
    Scanner s(text);
    int value = 0;
    const std::size_t hourDigits = s.digitsAhead();
    if (hourDigits < 1 || hourDigits > 2 || !s.number(hourDigits, value) || !s.literal(':') ||
        !s.number(2, value)) {
        return false;
    }
    return s.atEnd() || (s.literal(':') && s.number(2, value) && s.atEnd());
}

bool looksLikeDate(std::string_view text)
{
    TypedReading r;
    return typedReading(text, r);
}

// A whole number of at most six digits, nothing else.
bool wholeNumber(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 6) {
        return false;
    }
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    return fault == std::errc() && end == text.data() + text.size() && isDigit(text[0]);
}

Request failure(std::string message)
{
    Request request;
    request.action = Action::Error;
    request.error = std::move(message);
    return request;
}

// The commands and the options each takes besides --at and -o.
struct CommandEntry {
    std::string_view name;
    Command command;
    bool takesFormat;    // --format
    bool takesCalendar;  // --months, --until, --alarm, --apsides, --rise-set
    bool takesCount;     // --count
    bool takesDays;      // --days
    bool takesPlace;     // --place, --utc
};

constexpr CommandEntry Commands[] = {
    {"now", Command::Now, true, false, false, false, true},
    {"phases", Command::Phases, true, false, false, false, false},
    {"eclipses", Command::Eclipses, true, false, false, false, false},
    {"apsides", Command::Apsides, true, false, true, false, false},
    {"sky", Command::Sky, true, false, false, true, true},
    {"ics", Command::Ics, false, true, false, false, true},
    {"eclipse", Command::Eclipse, true, false, true, false, true},
};

enum class Option {
    At,
    Format,
    Months,
    Until,
    Alarm,
    Apsides,
    Count,
    Days,
    RiseSet,
    Place,
    Utc,
    Output
};

struct OptionEntry {
    std::string_view name;
    std::string_view shortName;  // empty when there is none
    Option option;
    std::string_view needs;  // what the value is, for a missing one; empty: a flag without one
};

constexpr OptionEntry Options[] = {
    {"--at", "", Option::At, "a date such as \"2026-12-20 21:15\""},
    {"--format", "", Option::Format, "text, tsv or json"},
    {"--months", "", Option::Months, "a whole number of months 1-1200"},
    {"--until", "", Option::Until, "a date such as \"2027-12-20\""},
    {"--alarm", "", Option::Alarm, "the minutes before each event, 0-10080"},
    {"--apsides", "", Option::Apsides, ""},
    {"--count", "", Option::Count, "a whole number 1-1000"},
    {"--days", "", Option::Days, "a whole number of days 1-366"},
    {"--rise-set", "", Option::RiseSet, ""},
    {"--place", "", Option::Place, "a place such as 52.52,13.405 or Berlin"},
    {"--utc", "", Option::Utc, ""},
    {"--output", "-o", Option::Output, "the name of the file to write"},
};

// What --count takes, in the words of the command it is given for (when it comes first).
std::string countNeeds(const CommandEntry* command)
{
    const std::string_view counted = command == nullptr                     ? "apsides or eclipses"
                                     : command->command == Command::Eclipse ? "eclipses"
                                                                            : "apsides";
    return "a whole number of " + std::string(counted) + " 1-" + std::to_string(MostApsisCount);
}

std::string commandList()
{
    std::string list;
    for (const CommandEntry& entry : Commands) {
        list += std::string(entry.name) + ", ";
    }
    return "(commands: " + list + "help, version)";
}

const CommandEntry* commandNamed(std::string_view name)
{
    for (const CommandEntry& entry : Commands) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

// The option an argument names, and where its value is: after "=" in the argument itself
// (long names only) or in the next argument.
struct OptionUse {
    const OptionEntry* entry = nullptr;
    bool valueInside = false;
    std::string_view value;
};

OptionUse optionNamed(std::string_view argument)
{
    for (const OptionEntry& entry : Options) {
        if (argument == entry.name || (!entry.shortName.empty() && argument == entry.shortName)) {
            return {&entry, false, {}};
        }
        if (argument.size() > entry.name.size() &&
            argument.substr(0, entry.name.size()) == entry.name &&
            argument[entry.name.size()] == '=') {
            return {&entry, true, argument.substr(entry.name.size() + 1)};
        }
    }
    return {};
}

}  // namespace

std::string quotedForMessage(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto escaped = [](std::string_view bytes) {
        std::string out;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
        return out;
    };
    std::string out = "\"";
    std::size_t shown = 0;
    for (std::size_t at = 0; at < text.size(); ++shown) {
        if (shown == QuotedLengthLimit) {
            out += "...";
            break;
        }
        const std::size_t length = utf8SequenceLength(text.substr(at));
        const std::string_view character = text.substr(at, length == 0 ? 1 : length);
        at += character.size();
        if (length == 0 || isControlCharacter(character)) {
            out += escaped(character);
        } else {
            if (character == "\"" || character == "\\") {
                out += '\\';
            }
            out += character;
        }
    }
    return out + "\"";
}

bool parseReading(std::string_view text, astro::SystemTime& reading, std::string& error,
                  std::string_view option)
{
    const std::string prefix =
        "invalid " + std::string(option) + " value " + quotedForMessage(text) + ": ";
    TypedReading r;
    if (!typedReading(text, r)) {
        error = prefix + "expected YYYY-MM-DD[ HH:MM[:SS]] or TT.MM.JJJJ[ HH:MM[:SS]]";
        return false;
    }
    if (r.year < FirstYear || r.year > LastYear) {
        error = prefix + "the year must lie within " + std::to_string(FirstYear) + "-" +
                std::to_string(LastYear);
        return false;
    }
    if (r.month < 1 || r.month > 12) {
        error = prefix + "there is no month " + twoDigits(r.month);
        return false;
    }
    if (r.day < 1 || r.day > monthLength(r.year, r.month)) {
        error = prefix + std::to_string(r.year) + "-" + twoDigits(r.month) + " has no day " +
                twoDigits(r.day);
        return false;
    }
    if (r.hour > 23 || r.minute > 59 || r.second > 59) {
        std::string time = twoDigits(r.hour) + ":" + twoDigits(r.minute);
        if (r.hasSeconds) {
            time += ':';
            time += twoDigits(r.second);
        }
        error = prefix + "there is no time of day " + time;
        return false;
    }
    reading = astro::wallClockReading(r.year, r.month, r.day, r.hour, r.minute, r.second);
    reading.wDayOfWeek = static_cast<std::uint16_t>(events::weekdayOf(r.year, r.month, r.day));
    return true;
}

Request parseArguments(const std::vector<std::string>& arguments)
{
    Request request;
    bool help = false;
    bool version = false;
    bool formatGiven = false;
    const CommandEntry* command = nullptr;
    // The value of --at or --until just read when it was a date without a time: a time in the
    // next argument was meant to go with it.
    std::string_view dateOnly;
    std::string_view dateOnlyOption;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const std::string_view lastDateOnly = std::exchange(dateOnly, std::string_view());
        if (argument == "--help" || argument == "-h" || argument == "help") {
            help = true;
            continue;
        }
        if (argument == "--version" || argument == "version") {
            version = true;
            continue;
        }
        const OptionUse use = optionNamed(argument);
        if (use.entry != nullptr) {
            const OptionEntry& option = *use.entry;
            std::string_view value = use.value;
            const bool flag = option.needs.empty();
            if (flag && use.valueInside) {
                return failure(std::string(option.name) + " takes no value");
            }
            if (!use.valueInside && !flag) {
                if (i + 1 == arguments.size()) {
                    return failure(std::string(argument) + " needs a value, " +
                                   (option.option == Option::Count ? countNeeds(command)
                                                                   : std::string(option.needs)));
                }
                value = arguments[++i];
            }
            const std::string name(option.name);
            const bool given = (option.option == Option::At && request.hasReading) ||
                               (option.option == Option::Format && formatGiven) ||
                               (option.option == Option::Months && request.months) ||
                               (option.option == Option::Until && request.until) ||
                               (option.option == Option::Alarm && request.alarmMinutes) ||
                               (option.option == Option::Apsides && request.apsides) ||
                               (option.option == Option::Count && request.count) ||
                               (option.option == Option::Days && request.days) ||
                               (option.option == Option::RiseSet && request.riseSet) ||
                               (option.option == Option::Place && request.place) ||
                               (option.option == Option::Utc && request.utc) ||
                               (option.option == Option::Output && request.outputPath);
            if (given) {
                return failure(name + " is given more than once");
            }
            const std::string invalid = "invalid " + name + " value " + quotedForMessage(value);
            int number = 0;
            switch (option.option) {
            case Option::At:
            case Option::Until: {
                astro::SystemTime reading;
                std::string error;
                if (!parseReading(value, reading, error, name)) {
                    return failure(error);
                }
                if (option.option == Option::At) {
                    request.reading = reading;
                    request.hasReading = true;
                } else {
                    request.until = reading;
                }
                if (value.find(':') == std::string_view::npos) {
                    dateOnly = value;
                    dateOnlyOption = option.name;
                }
                break;
            }
            case Option::Format:
                if (value == "text") {
                    request.format = Format::Text;
                } else if (value == "tsv") {
                    request.format = Format::Tsv;
                } else if (value == "json") {
                    request.format = Format::Json;
                } else {
                    return failure(invalid + ": expected text, tsv or json");
                }
                formatGiven = true;
                break;
            case Option::Months:
                if (!wholeNumber(value, number) || number < 1 || number > MostMonths) {
                    return failure(invalid + ": expected a whole number of months 1-" +
                                   std::to_string(MostMonths));
                }
                request.months = number;
                break;
            case Option::Alarm:
                if (!wholeNumber(value, number) || number > MostAlarmMinutes) {
                    return failure(invalid + ": expected the minutes before each event, 0-" +
                                   std::to_string(MostAlarmMinutes));
                }
                request.alarmMinutes = number;
                break;
            case Option::Apsides:
                request.apsides = true;
                break;
            case Option::Count:
                if (!wholeNumber(value, number) || number < 1 || number > MostApsisCount) {
                    return failure(invalid + ": expected " + countNeeds(command));
                }
                request.count = number;
                break;
            case Option::Days:
                if (!wholeNumber(value, number) || number < 1 || number > MostSkyDays) {
                    return failure(invalid + ": expected a whole number of days 1-" +
                                   std::to_string(MostSkyDays));
                }
                request.days = number;
                break;
            case Option::RiseSet:
                request.riseSet = true;
                break;
            case Option::Place: {
                events::GeoPlace place;
                std::string reason;
                if (!events::readPlace(value, place, reason)) {
                    std::string message = invalid;
                    message.append(": ").append(reason).append("; give ").append(
                        events::PlaceForms);
                    return failure(message);
                }
                request.place = place;
                break;
            }
            case Option::Utc:
                request.utc = true;
                break;
            case Option::Output:
                if (value.empty()) {
                    return failure(std::string(argument) + " needs a value, " +
                                   std::string(option.needs));
                }
                request.outputPath = std::string(value);
                break;
            }
            continue;
        }
        if (!argument.empty() && argument[0] == '-') {
            return failure("unknown option " + quotedForMessage(argument));
        }
        const CommandEntry* named = commandNamed(argument);
        if (named == nullptr) {
            if (!lastDateOnly.empty() && looksLikeTime(argument)) {
                return failure(
                    "the time " + quotedForMessage(argument) +
                    " is an argument of its own: quote the date and the time as one, " +
                    std::string(dateOnlyOption) + " " +
                    quotedForMessage(std::string(lastDateOnly) + " " + std::string(argument)));
            }
            if (looksLikeDate(argument)) {
                std::string date(argument);
                if (i + 1 < arguments.size() && looksLikeTime(arguments[i + 1])) {
                    date += " " + arguments[i + 1];
                }
                return failure(quotedForMessage(argument) +
                               " is not a command: a date is given with --at, " + "as in --at " +
                               quotedForMessage(date));
            }
            return failure("unknown command " + quotedForMessage(argument) + " " + commandList());
        }
        if (command != nullptr) {
            return failure("only one command at a time, not also " + quotedForMessage(argument));
        }
        command = named;
        request.command = named->command;
    }
    if (help) {
        request.action = Action::Help;
        return request;
    }
    if (version) {
        request.action = Action::Version;
        return request;
    }
    if (command == nullptr) {
        return failure("no command given " + commandList());
    }
    if (formatGiven && !command->takesFormat) {
        return failure(
            "--format applies to now, phases, eclipses, apsides, sky and eclipse, not to " +
            std::string(command->name));
    }
    if (!command->takesCalendar) {
        for (const auto& [given, name] :
             {std::pair{request.months.has_value(), "--months"},
              std::pair{request.until.has_value(), "--until"},
              std::pair{request.alarmMinutes.has_value(), "--alarm"},
              std::pair{request.apsides, "--apsides"}, std::pair{request.riseSet, "--rise-set"}}) {
            if (given) {
                return failure(std::string(name) + " applies to ics only");
            }
        }
    }
    if (request.count && !command->takesCount) {
        return failure("--count applies to apsides and eclipse only");
    }
    if (request.days && !command->takesDays) {
        return failure("--days applies to sky only");
    }
    if ((request.place || request.utc) && !command->takesPlace) {
        return failure(std::string(request.place ? "--place" : "--utc") +
                       " applies to now, sky, eclipse and ics only");
    }
    if (command->command == Command::Sky && !request.place) {
        return failure("sky needs --place, " + std::string(events::PlaceForms));
    }
    if (request.riseSet && !request.place) {
        return failure("--rise-set needs --place: the moonrises and moonsets of which place?");
    }
    // eclipse speaks in true local time with or without a place; the others only with one.
    if (request.utc && !request.place && command->command != Command::Eclipse) {
        return failure("--utc goes with --place: it shows the place's local time as UTC");
    }
    if (request.months && request.until) {
        return failure("--months and --until both end the range: give one of them");
    }
    request.action = Action::Run;
    return request;
}

}  // namespace cli
