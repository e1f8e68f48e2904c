// An iCalendar file (RFC 5545) of events at their instants in UTC: UTF-8, CRLF line ends, content
// lines folded at 75 octets. The writer takes its events as they are; what they mean (kinds,
// titles, identifiers) is the caller's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cli {

struct CalendarEvent {
    std::string uid;          // unique and stable: a re-import updates the event
    std::string summary;      // UTF-8
    std::string description;  // UTF-8; no DESCRIPTION when empty
    std::int64_t startUtcSeconds = 0;
};

struct CalendarOptions {
    std::string productId;             // PRODID
    std::string name;                  // X-WR-CALNAME, the name calendar programs show
    std::int64_t stampUtcSeconds = 0;  // DTSTAMP: when the file was made
    std::optional<int> alarmMinutes;   // a display reminder this long before each event
};

// The whole file: VCALENDAR with VERSION 2.0, PRODID and CALSCALE, then one VEVENT per event
// (UID, DTSTAMP, DTSTART in UTC, SUMMARY, DESCRIPTION where there is one, TRANSP:TRANSPARENT
// since an instant takes up no time), each with a VALARM (ACTION:DISPLAY, the summary as its
// DESCRIPTION, TRIGGER) when a reminder is asked for. The
// instants must lie within the years 0-9999 that iCalendar can write.
std::string calendarText(std::span<const CalendarEvent> events, const CalendarOptions& options);

// "20261224T002741Z", the UTC form of DATE-TIME.
std::string icsUtcText(std::int64_t utcSeconds);

// A TEXT value with its backslashes, semicolons, commas and line breaks escaped.
std::string escapedText(std::string_view text);

// A content line ending in CRLF, folded so that no line exceeds 75 octets: each continuation
// line starts with one blank, and no fold splits a UTF-8 sequence.
std::string contentLine(std::string_view line);

}  // namespace cli
