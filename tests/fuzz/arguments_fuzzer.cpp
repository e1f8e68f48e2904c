// The command line of lunavista-cli: any argument list. The input is split at NUL bytes into
// arguments. Checked for every input:
//   - the whole input as an --at value: accepted exactly when it is a real date and time of
//     1601-30827 in one of the forms YYYY-MM-DD[( |T)HH:MM[:SS]] or TT.MM.JJJJ[ HH:MM[:SS]] (the
//     C++ calendar decides), and then the reading holds those fields (a missing time 00:00:00,
//     missing seconds 0) and the right weekday; a rejection explains itself in one line of
//     printable ASCII;
//   - the argument list: an error is one line of printable ASCII and the program prints it with
//     exit status 2 and nothing on standard output; --help and --version print their texts; a
//     command runs with a well-formed reading. "now" runs whole in each format (it is cheap);
//     the searches of the list commands and of ics are left to the every-date tests and the
//     calendar check, and nothing is written to a file.
#include "cli/arguments.hpp"
#include "cli/cli.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

bool isPrintableLine(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) {
            return false;
        }
    }
    return !text.empty();
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
    if (!accepted && (!isPrintableLine(error) || error.rfind("invalid --at value \"", 0) != 0)) {
        fail("the reason is not one printable line", text);
    }
}

void checkArguments(const std::vector<std::string>& arguments, std::string_view input)
{
    const cli::Request request = cli::parseArguments(arguments);
    switch (request.action) {
    case cli::Action::Error:
        if (!isPrintableLine(request.error)) {
            fail("the error is not one printable line", input);
        }
        break;
    case cli::Action::Help:
    case cli::Action::Version:
        break;
    case cli::Action::Run: {
        if (request.command == cli::Command::None) {
            fail("a run without a command", input);
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
    if (request.action == cli::Action::Run &&
        (request.command != cli::Command::Now || request.outputPath)) {
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkReadingText(input);

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
