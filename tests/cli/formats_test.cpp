// The writers of the companion's machine-readable output: instants in UTC, TSV and JSON records,
// and the calendar file's content lines.
#include "cli/formats.hpp"
#include "cli/ics.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cli {
namespace {

TEST(CliFormats, InstantsInUtc)
{
    struct Case {
        std::int64_t seconds;
        const char* iso;
        const char* ics;  // nullptr: beyond the years iCalendar can write
    };
    const Case cases[] = {
        {0, "1970-01-01T00:00:00Z", "19700101T000000Z"},
        {-1, "1969-12-31T23:59:59Z", "19691231T235959Z"},
        {1798075683, "2026-12-24T01:28:03Z", "20261224T012803Z"},
        {-11644473600, "1601-01-01T00:00:00Z", "16010101T000000Z"},
        {253402300799, "9999-12-31T23:59:59Z", "99991231T235959Z"},
        {253402300800, "+10000-01-01T00:00:00Z", nullptr},  // ISO 8601's expanded years
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isoUtcText(c.seconds), c.iso);
        if (c.ics != nullptr) {
            EXPECT_EQ(icsUtcText(c.seconds), c.ics);
        }
    }
    // JDE 2451545.0 is 2000-01-01 12:00 TT; Delta-T was 63.86 s then.
    EXPECT_EQ(isoUtcText(utcSecondsOfJde(2451545.0)), "2000-01-01T11:58:56Z");
}

TEST(CliFormats, TsvAndJsonOfTheSameTable)
{
    const Table table{
        {"text", "number", "none", "flag", "object"},
        {{Value::ofText("a\tb\"c\\\xC3\xA4\x01"), Value::ofNumber("-1.5"), Value{},
          Value::ofBoolean(true),
          Value::ofObject({"at", "none"}, {Value::ofText("2026-08-12T17:46:06Z"), Value{}})},
         {Value::ofText("line\r\nbreak"), Value::ofNumber("7"), Value{}, Value::ofBoolean(false),
          Value{}}}};
    EXPECT_EQ(tsvText(table),
              "text\tnumber\tnone\tflag\tobject\n"
              "a b\"c\\\xC3\xA4\x01\t-1.5\t\ttrue\t\n"
              "line  break\t7\t\tfalse\t\n");
    EXPECT_EQ(jsonText(table),
              "[\n"
              "{\"text\":\"a\\tb\\\"c\\\\\xC3\xA4\\u0001\",\"number\":-1.5,\"none\":null,"
              "\"flag\":true,\"object\":{\"at\":\"2026-08-12T17:46:06Z\",\"none\":null}},\n"
              "{\"text\":\"line\\r\\nbreak\",\"number\":7,\"none\":null,\"flag\":false,"
              "\"object\":null}\n"
              "]\n");
    EXPECT_EQ(jsonText(Table{{"a"}, {}}), "[\n]\n");
}

// RFC 5545, 3.1: lines of at most 75 octets, a continuation starting with one blank; a fold never
// splits a UTF-8 sequence (3.1: "... SHOULD NOT ... split a multi-octet sequence").
TEST(CliIcs, ContentLinesAreFoldedAt75OctetsBetweenCharacters)
{
    const std::string a74(74, 'a');
    struct Case {
        std::string line;
        std::vector<std::size_t> lengths;  // octets of each written line, without CRLF
    };
    const Case cases[] = {
        {std::string(75, 'x'), {75}},
        {std::string(76, 'x'), {75, 2}},
        {std::string(200, 'x'), {75, 75, 52}},
        {a74 + "\xC3\xA4" + "b", {74, 4}},   // "ä" would straddle the 75th octet
        {a74 + "\xE2\x82\xAC", {74, 4}},     // so would "€"
        {"a" + a74 + "\xC3\xA4", {75, 3}},   // "ä" just after a full line
        {std::string(80, '\x80'), {75, 6}},  // no UTF-8: cut at the limit all the same
        {"", {0}},
    };
    for (const Case& c : cases) {
        const std::string written = contentLine(c.line);
        std::vector<std::size_t> lengths;
        std::string unfolded;
        std::size_t start = 0;
        for (std::size_t end = written.find("\r\n"); end != std::string::npos;
             end = written.find("\r\n", start)) {
            const std::string part = written.substr(start, end - start);
            lengths.push_back(part.size());
            unfolded += start == 0 ? part : part.substr(1);
            EXPECT_TRUE(start == 0 || part[0] == ' ') << part;
            start = end + 2;
        }
        EXPECT_EQ(start, written.size()) << "a line without CRLF";
        EXPECT_EQ(lengths, c.lengths) << c.line.size();
        EXPECT_EQ(unfolded, c.line);
    }
}

TEST(CliIcs, TextValuesAreEscaped)
{
    EXPECT_EQ(escapedText("Vollmond"), "Vollmond");
    EXPECT_EQ(escapedText("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");
    EXPECT_EQ(escapedText("x\r\ny"), "x\\ny");
    EXPECT_EQ(escapedText("Ringf\xC3\xB6rmige"), "Ringf\xC3\xB6rmige");
}

}  // namespace
}  // namespace cli
