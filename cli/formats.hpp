// The companion's machine-readable output: true instants in UTC, and tables of records written as
// TSV or JSON. Every command that offers --format builds one Table; the writers know nothing of
// what the records mean.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The true instant of a series' instant (JDE, Terrestrial Time): Delta-T taken off, in whole
// seconds of UTC since 1970-01-01 00:00 (the nearest second, halves to even).
std::int64_t utcSecondsOfJde(double jde);

// The same of a Julian Day in Universal Time.
std::int64_t utcSecondsOfJulianDay(double jdUt);

// The calendar fields of such an instant (proleptic Gregorian).
struct UtcFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
UtcFields utcFields(std::int64_t utcSeconds);

// Angles as the place's lines and the records write them: to 0.01 degree.
inline constexpr std::string_view HundredthsMask = "0.00";

// ISO 8601, "2026-12-24T00:27:41Z". Years beyond 9999 take the expanded form with a sign,
// "+10000-01-01T00:00:00Z".
std::string isoUtcText(std::int64_t utcSeconds);

// One value of a record: a text (UTF-8), a number (as the digits JSON takes), a truth value
// ("true" or "false", in TSV as in JSON), nothing, or (in JSON) an object of named values.
struct Value {
    enum class Type { Text, Number, Boolean, Null, Object };
    Type type = Type::Null;
    std::string text;
    std::vector<std::string_view> names;  // an object's member names, lower-case ASCII
    std::vector<Value> members;           // an object's values, one per name

    static Value ofText(std::string text);
    static Value ofNumber(std::string digits);
    static Value ofBoolean(bool value);
    static Value ofObject(std::vector<std::string_view> names, std::vector<Value> members);
};

struct Table {
    std::vector<std::string_view> names;      // the field names, lower-case ASCII
    std::vector<std::vector<Value>> records;  // each with one value per name
};

// A line of the field names, then one line per record: fields split by one TAB, lines ending
// in LF. Nothing is an empty field; a TAB, CR or LF inside a text becomes a blank, so every line
// has as many fields as there are names. TSV is flat: a table for it holds no objects (one
// would be an empty field).
std::string tsvText(const Table& table);

// A JSON array of objects, one record per line: texts as strings, numbers as numbers, truth
// values as true and false, nothing as null, objects as objects.
std::string jsonText(const Table& table);

}  // namespace cli
