#include "cli/ics.hpp"

#include "cli/formats.hpp"

#include <cstdio>

namespace cli {
namespace {

constexpr std::size_t MaxLineOctets = 75;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string icsUtcText(std::int64_t utcSeconds)
{
    const UtcFields f = utcFields(utcSeconds);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02dZ", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return buffer;
}

std::string escapedText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {  // a CR LF line break is written as the one \n
            out += c;
        }
    }
    return out;
}

std::string contentLine(std::string_view line)
{
    std::string out;
    std::size_t limit = MaxLineOctets;  // the first line; the next ones give one to the blank
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && isContinuationByte(line[cut])) {
            --cut;  // back to the first byte of the character at the fold
        }
        if (cut == 0) {
            cut = limit;  // no character starts in reach: not UTF-8, cut where the limit is
        }
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = MaxLineOctets - 1;
    }
    out.append(line);
    return out + "\r\n";
}

std::string calendarText(std::span<const CalendarEvent> events, const CalendarOptions& options)
{
    const std::string stamp = icsUtcText(options.stampUtcSeconds);
    std::string out = contentLine("BEGIN:VCALENDAR") + contentLine("VERSION:2.0") +
                      contentLine("PRODID:" + escapedText(options.productId)) +
                      contentLine("CALSCALE:GREGORIAN") + contentLine("METHOD:PUBLISH");
    if (!options.name.empty()) {
        out += contentLine("X-WR-CALNAME:" + escapedText(options.name));
    }
    for (const CalendarEvent& event : events) {
        out += contentLine("BEGIN:VEVENT");
        out += contentLine("UID:" + escapedText(event.uid));
        out += contentLine("DTSTAMP:" + stamp);
        out += contentLine("DTSTART:" + icsUtcText(event.startUtcSeconds));
        out += contentLine("SUMMARY:" + escapedText(event.summary));
        if (!event.description.empty()) {
            out += contentLine("DESCRIPTION:" + escapedText(event.description));
        }
        out += contentLine("TRANSP:TRANSPARENT");
        if (options.alarmMinutes) {
            out += contentLine("BEGIN:VALARM");
            out += contentLine("ACTION:DISPLAY");
            out += contentLine("DESCRIPTION:" + escapedText(event.summary));
            out += contentLine("TRIGGER:-PT" + std::to_string(*options.alarmMinutes) + "M");
            out += contentLine("END:VALARM");
        }
        out += contentLine("END:VEVENT");
    }
    return out + contentLine("END:VCALENDAR");
}

}  // namespace cli
