// The German lines that describe an eclipse: its phases and magnitudes, and what a place sees of
// it. The companion prints them (eclipse) and writes them into the calendar's descriptions;
// each caller says how an instant is written (local time or UTC) and how a line is joined.
// Windows-1252, like every text of the program; numbers with a point, as everywhere.
#pragma once

#include "events/eclipse_listing.hpp"

#include "astro/coordinates.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace events {

// What a place sees of an eclipse.
struct EclipseSeen {
    bool visible =
        false;  // the Moon (lunar) or the Sun (solar) above the horizon during some of it
    std::optional<double> moonAltitudeDeg;          // lunar: at greatest eclipse, refracted
    std::optional<astro::LocalSolarEclipse> solar;  // solar: nothing where the penumbra misses
};

EclipseSeen eclipseSeenFrom(const EclipseEntry& entry, const astro::GeoPlace& place);

// One line: a label and its values, "Größte Finsternis" and {"28.08.2026 um 06:12:50 Uhr"}.
struct EclipseLine {
    std::string label;
    std::vector<std::string> values;
};

// How an instant (Julian Day, UT) is written.
using InstantText = std::function<std::string(double jdUt)>;

// The phases that occur, in time order, then the magnitudes: lunar "Beginn der
// Halbschattenfinsternis" ... "Ende der Halbschattenfinsternis", "Größe im Kernschatten",
// "Größe im Halbschatten"; solar "Größte Finsternis", "Größe", "Gamma".
std::vector<EclipseLine> eclipsePhaseLines(const EclipseEntry& entry, const InstantText& instant);

// What the place sees: "Am Ort" "sichtbar" or "nicht sichtbar" with the reason; lunar the Moon's
// altitude at greatest eclipse; solar, where the penumbra reaches the place, begin, the central
// phase ("Beginn der Totalität" or "der Ringphase"), maximum (with the local magnitude and the
// obscuration) and end, each with the Sun's altitude or "Sonne unter dem Horizont".
std::vector<EclipseLine> eclipseSeenLines(const EclipseEntry& entry, const EclipseSeen& seen,
                                          const InstantText& instant);

// Texts of numbers: a magnitude or gamma to 0.001 ("0.930", "-0.012"), an angle to 0.1 degree
// with the degree sign ("12.3\xB0"), a fraction of the Sun's disc in percent to 0.1 ("84.9 %").
// A magnitude or fraction below 1 is never written as 1 ("0.999", "99.9 %").
std::string magnitudeText(double magnitude);
std::string degreesText(double angleDeg);
std::string percentText(double fraction);

}  // namespace events
