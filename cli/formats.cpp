#include "cli/formats.hpp"

#include "events/local_time.hpp"

#include "astro/delta_t.hpp"
#include "astro/time_scale.hpp"

#include <chrono>
#include <cstdio>

namespace cli {
namespace {

std::string jsonString(std::string_view text)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;  // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

std::string tsvField(const Value& value)
{
    std::string text = value.type == Value::Type::Null || value.type == Value::Type::Object
                           ? std::string()
                           : value.text;
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

void appendJson(std::string& out, const Value& value)
{
    switch (value.type) {
    case Value::Type::Text:
        out += jsonString(value.text);
        break;
    case Value::Type::Number:
    case Value::Type::Boolean:
        out += value.text;
        break;
    case Value::Type::Null:
        out += "null";
        break;
    case Value::Type::Object:
        out += '{';
        for (std::size_t i = 0; i < value.names.size(); ++i) {
            static const Value nothing;
            out += i > 0 ? "," : "";
            out += jsonString(value.names[i]) + ':';
            appendJson(out, i < value.members.size() ? value.members[i] : nothing);
        }
        out += '}';
        break;
    }
}

}  // namespace

std::int64_t utcSecondsOfJde(double jde)
{
    return utcSecondsOfJulianDay(astro::universalJulianDay(jde));
}

std::int64_t utcSecondsOfJulianDay(double jdUt)
{
    return events::instantOfJulianDay(jdUt).time_since_epoch().count();
}

UtcFields utcFields(std::int64_t utcSeconds)
{
    namespace chr = std::chrono;
    const chr::sys_seconds instant{chr::seconds{utcSeconds}};
    // The day that holds the instant, so that instants before 1970 keep a time of day in 0..86399.
    const chr::sys_days day = chr::floor<chr::days>(instant);
    const chr::year_month_day date{day};
    const chr::hh_mm_ss<chr::seconds> time{instant - day};
    UtcFields f;
    f.year = static_cast<int>(date.year());
    f.month = static_cast<int>(static_cast<unsigned>(date.month()));
    f.day = static_cast<int>(static_cast<unsigned>(date.day()));
    f.hour = static_cast<int>(time.hours().count());
    f.minute = static_cast<int>(time.minutes().count());
    f.second = static_cast<int>(time.seconds().count());
    return f;
}

std::string isoUtcText(std::int64_t utcSeconds)
{
    const UtcFields f = utcFields(utcSeconds);
    char buffer[48];
    std::snprintf(
        buffer, sizeof buffer,
        f.year > 9999 ? "+%d-%02d-%02dT%02d:%02d:%02dZ" : "%04d-%02d-%02dT%02d:%02d:%02dZ", f.year,
        f.month, f.day, f.hour, f.minute, f.second);
    return buffer;
}

Value Value::ofText(std::string text)
{
    return {Type::Text, std::move(text), {}, {}};
}

Value Value::ofNumber(std::string digits)
{
    return {Type::Number, std::move(digits), {}, {}};
}

Value Value::ofBoolean(bool value)
{
    return {Type::Boolean, value ? "true" : "false", {}, {}};
}

Value Value::ofObject(std::vector<std::string_view> names, std::vector<Value> members)
{
    return {Type::Object, {}, std::move(names), std::move(members)};
}

std::string tsvText(const Table& table)
{
    std::string out;
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        if (i > 0) {
            out += '\t';
        }
        out += table.names[i];
    }
    out += '\n';
    for (const std::vector<Value>& record : table.records) {
        for (std::size_t i = 0; i < table.names.size(); ++i) {
            if (i > 0) {
                out += '\t';
            }
            if (i < record.size()) {
                out += tsvField(record[i]);
            }
        }
        out += '\n';
    }
    return out;
}

std::string jsonText(const Table& table)
{
    std::string out = "[";
    for (std::size_t r = 0; r < table.records.size(); ++r) {
        out += r > 0 ? ",\n" : "\n";
        appendJson(out, Value::ofObject(table.names, table.records[r]));
    }
    return out + "\n]\n";
}

}  // namespace cli
