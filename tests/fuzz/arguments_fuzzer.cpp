// The command line of lunavista-cli: any argument list. The input is split at NUL bytes into
// arguments. Checked for every input:
//   - the whole input as an --at value: accepted exactly when it is a real date and time of
//     1601-30827 in one of the forms YYYY-MM-DD[( |T)HH:MM[:SS]] or TT.MM.JJJJ[ HH:MM[:SS]] (the
//     C++ calendar decides), and then the reading holds those fields (a missing time 00:00:00,
//     missing seconds 0) and the right weekday; a rejection explains itself in one line of
//     text (UTF-8 without control characters);
//   - the argument list: an error is one line of text and the program prints it with
//     exit status 2 and nothing on standard output; --help and --version print their texts; a
//     command runs with a well-formed reading. --count and --apsides are read again by the
//     grammar alone (which arguments are option values): a run has exactly the count typed
//     (1-1000) and the --apsides typed, each only with a command that takes it,
//     and a count that is no whole number 1-1000 or a value given to --apsides is an error.
//     "now" runs whole in each format, "apsides" for up to 16 apsides and "sky" for up to 8 days
//     (all are cheap): one line or record per apsis, perigees and apogees taking turns; at least
//     one line for each day of sky (a day without an event says so), or its records' header.
//     The searches of the list
//     commands and of ics are left to the every-date tests and the calendar check, and nothing
//     is written to a file;
//   - the whole input as a --place value: an accepted place lies within +-90 and +-180 degrees,
//     a refusal is one line of printable ASCII.
#include "cli/arguments.hpp"
#include "cli/cli.hpp"
#include "tests/cli/one_line_text.hpp"

#include "events/place.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, std::string_view input)
{
    std::fprintf(stderr, "arguments: %s for the input \"", what);
    for (const char c : input) {
        std::fprintf(stderr, "\\x%02X", static_cast<unsigned char>(c));
    }
    std::fprintf(stderr, "\"\n");
    std::abort();
}

struct Fields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Whether the text has the shape of a pattern: Y, M, D, h, m and s stand for one digit of the
// field they name, every other character for itself.
bool matches(std::string_view text, std::string_view pattern, Fields& f)
{
    if (text.size() != pattern.size()) {
        return false;
    }
    f = Fields{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        int* field = nullptr;
        switch (pattern[i]) {
        case 'Y':
            field = &f.year;
            break;
        case 'M':
            field = &f.month;
            break;
        case 'D':
            field = &f.day;
            break;
        case 'h':
            field = &f.hour;
            break;
        case 'm':
            field = &f.minute;
            break;
        case 's':
            field = &f.second;
            break;
        default:
            if (text[i] != pattern[i]) {
                return false;
            }
            continue;
        }
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        *field = *field * 10 + (text[i] - '0');
    }
    return true;
}

// The reading a text stands for, if it is one.
bool referenceReading(std::string_view text, Fields& f)
{
    namespace chr = std::chrono;
    static const char* const patterns[] = {
        "YYYY-MM-DD",          "YYYY-MM-DD hh:mm", "YYYY-MM-DD hh:mm:ss", "YYYY-MM-DDThh:mm",
        "YYYY-MM-DDThh:mm:ss", "DD.MM.YYYY",       "DD.MM.YYYY hh:mm",    "DD.MM.YYYY hh:mm:ss",
    };
    bool shape = false;
    for (const char* pattern : patterns) {
        std::string fourDigits(pattern);
        std::string fiveDigits = fourDigits;
        fiveDigits.insert(fiveDigits.find('Y'), 1, 'Y');
        shape = shape || matches(text, fourDigits, f) || matches(text, fiveDigits, f);
    }
    if (!shape || f.year < cli::FirstYear || f.year > cli::LastYear) {
        return false;
    }
    const chr::year_month_day date{chr::year{f.year}, chr::month{static_cast<unsigned>(f.month)},
                                   chr::day{static_cast<unsigned>(f.day)}};
    return date.ok() && f.hour <= 23 && f.minute <= 59 && f.second <= 59;
}

unsigned weekdayOf(const Fields& f)
{
    namespace chr = std::chrono;
    const chr::sys_days day{chr::year{f.year} / chr::month{static_cast<unsigned>(f.month)} /
                            chr::day{static_cast<unsigned>(f.day)}};
    return chr::weekday{day}.c_encoding();
}

bool sameReading(const astro::SystemTime& r, const Fields& f)
{
    return r.wYear == f.year && r.wMonth == f.month && r.wDay == f.day && r.wHour == f.hour &&
           r.wMinute == f.minute && r.wSecond == f.second && r.wMilliseconds == 0 &&
           r.wDayOfWeek == weekdayOf(f);
}

void checkReadingText(std::string_view text)
{
    astro::SystemTime reading;
    std::string error;
    const bool accepted = cli::parseReading(text, reading, error);
    Fields expected;
    const bool valid = referenceReading(text, expected);
    if (accepted != valid) {
        fail(accepted ? "an impossible reading is accepted" : "a real reading is rejected", text);
    }
    if (accepted && !sameReading(reading, expected)) {
        fail("the reading's fields are wrong", text);
    }
    if (!accepted &&
        (!cli::test::isOneLineOfText(error) || error.rfind("invalid --at value \"", 0) != 0)) {
        fail("the reason is not one line of text", text);
    }
}

// --count and --apsides as the grammar places them: every option but the flag --apsides and the
// words of help and version takes the next argument as its value, unless it has one after "=".
struct ApsisOptions {
    bool countGiven = false;
    bool countValid = false;  // a whole number 1-1000 of at most six digits
    int count = 0;
    bool apsides = false;
    bool apsidesWithValue = false;
};

ApsisOptions referenceApsisOptions(const std::vector<std::string>& arguments)
{
    static const std::string_view valued[] = {"--at",     "--format", "--months", "--until",
                                              "--alarm",  "--count",  "--days",   "--place",
                                              "--output", "-o"};
    ApsisOptions o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--apsides") {
            o.apsides = true;
        } else if (argument.rfind("--apsides=", 0) == 0) {
            o.apsidesWithValue = true;
        }
        std::optional<std::string_view> value;
        bool takesNext = false;
        for (const std::string_view name : valued) {
            if (argument == name) {
                takesNext = true;
            }
        }
        if (argument.rfind("--count=", 0) == 0) {
            value = argument.substr(8);
        } else if (argument == "--count") {
            o.countGiven = true;  // without a value when it is the last argument
            o.countValid = false;
            if (i + 1 < arguments.size()) {
                value = arguments[i + 1];
            }
        }
        if (value) {
            o.countGiven = true;
            o.countValid = !value->empty() && value->size() <= 6;
            o.count = 0;
            for (const char c : *value) {
                o.countValid = o.countValid && c >= '0' && c <= '9';
                o.count = o.countValid ? o.count * 10 + (c - '0') : 0;
            }
            o.countValid = o.countValid && o.count >= 1 && o.count <= 1000;
        }
        if (takesNext) {
            ++i;
        }
    }
    return o;
}

// The lines after the first `skip` ones (and before a closing "]"): as many as asked for, each
// holding the perigee's or the apogee's mark, the two taking turns.
bool alternatingApsides(std::string_view out, std::size_t skip, std::size_t count,
                        std::string_view perigee, std::string_view apogee)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < out.size();) {
        const std::size_t end = out.find('\n', start);
        if (end == std::string_view::npos) {
            return false;  // every line ends with LF
        }
        lines.push_back(out.substr(start, end - start));
        start = end + 1;
    }
    if (!lines.empty() && lines.back() == "]") {
        lines.pop_back();
    }
    if (lines.size() != skip + count) {
        return false;
    }
    int last = -1;
    for (std::size_t i = skip; i < lines.size(); ++i) {
        const int kind = lines[i].find(perigee) != std::string_view::npos  ? 0
                         : lines[i].find(apogee) != std::string_view::npos ? 1
                                                                           : -1;
        if (kind < 0 || kind == last) {
            return false;
        }
        last = kind;
    }
    return true;
}

void checkArguments(const std::vector<std::string>& arguments, std::string_view input)
{
    const cli::Request request = cli::parseArguments(arguments);
    const ApsisOptions typed = referenceApsisOptions(arguments);
    if ((typed.countGiven && !typed.countValid) || typed.apsidesWithValue) {
        if (request.action != cli::Action::Error) {
            fail("a bad --count or a value of --apsides is accepted", input);
        }
    }
    switch (request.action) {
    case cli::Action::Error:
        if (!cli::test::isOneLineOfText(request.error)) {
            fail("the error is not one line of text", input);
        }
        break;
    case cli::Action::Help:
    case cli::Action::Version:
        break;
    case cli::Action::Run: {
        if (request.command == cli::Command::None) {
            fail("a run without a command", input);
        }
        if (request.count != (typed.countGiven ? std::optional<int>(typed.count) : std::nullopt) ||
            request.apsides != typed.apsides) {
            fail("--count or --apsides differ from what was typed", input);
        }
        if ((request.count && request.command != cli::Command::Apsides &&
             request.command != cli::Command::Eclipse) ||
            (request.apsides && request.command != cli::Command::Ics)) {
            fail("--count or --apsides with a command that does not take it", input);
        }
        if (request.hasReading) {
            const astro::SystemTime& r = request.reading;
            char text[32];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", r.wYear, r.wMonth,
                          r.wDay, r.wHour, r.wMinute, r.wSecond);
            Fields fields;
            if (!referenceReading(text, fields) || !sameReading(r, fields)) {
                fail("a run with an impossible reading", input);
            }
        }
        break;
    }
    }

    // The whole program, except where it would search the lists or write a file.
    constexpr int MostApsidesRun = 16;
    constexpr int MostSkyDaysRun = 8;
    const bool cheap =
        request.command == cli::Command::Now ||
        (request.command == cli::Command::Apsides && request.count.value_or(4) <= MostApsidesRun) ||
        (request.command == cli::Command::Sky && request.days.value_or(7) <= MostSkyDaysRun);
    if (request.action == cli::Action::Run && (!cheap || request.outputPath)) {
        return;
    }
    std::vector<std::string> withReading = arguments;
    if (request.action == cli::Action::Run && !request.hasReading) {
        withReading.emplace_back("--at=2025-03-14 12:00:00");  // not the clock: repeatable
    }
    std::string out;
    std::string err;
    const int status = cli::run(withReading, out, err);
    switch (request.action) {
    case cli::Action::Error:
        if (status != cli::ExitUsage || !out.empty() ||
            err != "lunavista-cli: " + request.error + " (see --help)\n") {
            fail("a usage error is not reported as one", input);
        }
        break;
    case cli::Action::Help:
        if (status != cli::ExitSuccess || out != cli::helpText() || !err.empty()) {
            fail("--help does not print the help", input);
        }
        break;
    case cli::Action::Version:
        if (status != cli::ExitSuccess || out != cli::versionText() || !err.empty()) {
            fail("--version does not print the version", input);
        }
        break;
    case cli::Action::Run: {
        if (request.command == cli::Command::Apsides) {
            const auto count = static_cast<std::size_t>(request.count.value_or(4));
            struct Marks {
                std::size_t skip;  // the lines before the records
                std::string_view perigee;
                std::string_view apogee;
            };
            const Marks marks = request.format == cli::Format::Text
                                    ? Marks{0, "Erdn\xC3\xA4he\t", "Erdferne\t"}
                                : request.format == cli::Format::Tsv
                                    ? Marks{1, "Z\tperigee\t", "Z\tapogee\t"}
                                    : Marks{1, "\"kind\":\"perigee\",", "\"kind\":\"apogee\","};
            if (status != cli::ExitSuccess || !err.empty() ||
                !alternatingApsides(out, marks.skip, count, marks.perigee, marks.apogee)) {
                fail("apsides does not print its list", input);
            }
            break;
        }
        if (request.command == cli::Command::Sky) {
            const auto lines = std::count(out.begin(), out.end(), '\n');
            const bool whole =
                request.format == cli::Format::Text ? lines >= request.days.value_or(7)
                : request.format == cli::Format::Tsv
                    ? out.rfind("utc\tlocal\tkind\tazimuth_deg\taltitude_deg\n", 0) == 0
                    : out.rfind("[\n", 0) == 0 && out.size() >= 4 &&
                          out.compare(out.size() - 2, 2, "]\n") == 0;
            if (status != cli::ExitSuccess || !err.empty() || !whole) {
                fail("sky does not print its days", input);
            }
            break;
        }
        const char* start = request.format == cli::Format::Json  ? "[\n{\"fraction\":"
                            : request.format == cli::Format::Tsv ? "fraction\tutc\t"
                                                                 : "fraction\t";
        if (status != cli::ExitSuccess || !err.empty() || out.rfind(start, 0) != 0 ||
            out.back() != '\n') {
            fail("now does not print its report", input);
        }
        break;
    }
    }
}

}  // namespace

// The whole input as a place: an accepted one lies on the Earth, a refusal explains itself in
// one printable line.
void checkPlaceText(std::string_view input)
{
    events::GeoPlace place;
    std::string reason;
    if (events::readPlace(input, place, reason)) {
        if (!(std::fabs(place.latitudeDeg) <= 90.0 && std::fabs(place.longitudeDeg) <= 180.0)) {
            fail("a place beyond the Earth's coordinates is accepted", input);
        }
    } else if (reason.empty() || !std::all_of(reason.begin(), reason.end(),
                                              [](char c) { return c >= 0x20 && c < 0x7F; })) {
        fail("the place's refusal is not one printable line", input);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkReadingText(input);
    checkPlaceText(input);

    // An empty input stands for no arguments at all.
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (size > 0 && start <= input.size() && arguments.size() < 16) {
        std::size_t end = input.find('\0', start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        arguments.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    checkArguments(arguments, input);
    return 0;
}
