// A place on the Earth as people write one: latitude and longitude in the forms they type, or the
// name of a large city of Germany, Austria or Switzerland; and the compass word of a direction
// seen from it.
#pragma once

#include "astro/coordinates.hpp"

#include <span>
#include <string>
#include <string_view>

namespace events {

// Geodetic latitude and longitude in degrees, north and EAST positive, and the height above sea
// level in metres: the place the true positions take.
using GeoPlace = astro::GeoPlace;

// A city of the gazetteer (events/city_table.cpp, written by tools/gazetteer/generate.mjs).
struct City {
    std::string_view name;        // as the city writes itself, UTF-8
    std::string_view otherNames;  // further forms people use, separated by '|'; may be empty
    std::string_view country;     // ISO 3166 code: DE, AT or CH
    double latitudeDeg;           // north positive, to 0.01 degree
    double longitudeDeg;          // east positive, to 0.01 degree
};

std::span<const City> cityTable();

// The city a name stands for, or nullptr. Letter case, blanks and punctuation do not count
// ("Halle (Saale)", "halle/saale" and "HALLE SAALE" are one name), and an umlaut may be written
// as itself, as the vowel with an e or as the bare vowel ("Muenchen", "Munchen"); other accents
// may be left off ("Geneve"), and ß may be written ss. The text is UTF-8, or Windows-1252 where it
// is no valid UTF-8 (a Windows command line in the system's code page).
const City* cityNamed(std::string_view name);

// The forms a place may take, for messages (printable ASCII, one line).
inline constexpr std::string_view PlaceForms =
    "latitude and longitude as 52.52,13.405 or 52.52N 13.405E or 52 31N 13 24E (degrees and "
    "minutes, the degree and minute signs allowed), or a city of Germany, Austria or "
    "Switzerland over 100,000 inhabitants such as Muenchen";

// A place from a text (UTF-8, or Windows-1252 where it is no valid UTF-8):
//   - two coordinates, latitude first, each a decimal number of degrees (52.52, -33.87), or
//     whole degrees and minutes (52 31, 52°31', 52°31.2') or degrees, minutes and seconds
//     (52°31'12", 52 31 12, 52°31'12.5"), with a sign or a hemisphere letter before or after it:
//     N or S for the latitude, E (or O, Ost) or W for the longitude, in either case. S and W, and
//     the minus sign, count southward and westward. With both letters given the order does not
//     matter. The two coordinates are separated by a comma, a semicolon, a slash or blanks.
//     The decimal sign is a point; a comma between two digits is a decimal comma only where the
//     text cannot be read with the comma separating the coordinates ("52,52 13,405" and
//     "52,52; 13,405" are 52.52, 13.405, while "52,5" is 52, 5), and a text that reads both
//     ways with different places is refused. Degrees, minutes and seconds written without
//     signs need a hemisphere letter ("52 31 N"), since "52 31" alone is latitude and longitude.
//   - a city name, cityNamed; a text without a digit is taken as one.
// Latitudes beyond +-90 and longitudes beyond +-180 degrees, minutes or seconds of 60 or more,
// unknown names and unreadable texts give false with a short reason in printable ASCII (the
// caller adds PlaceForms).
bool readPlace(std::string_view text, GeoPlace& place, std::string& reason);

// The German compass word of an azimuth in degrees from north over east: N, NO, O, SO, S, SW,
// W, NW, each the sector of 45 degrees centred on its direction, a sector's lower edge belonging
// to it (22.5 is NO). Any finite angle is taken modulo 360; empty for NaN and the infinities.
std::string_view compassWord(double azimuthDeg);

}  // namespace events
