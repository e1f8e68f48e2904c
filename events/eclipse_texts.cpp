#include "events/eclipse_texts.hpp"

#include "events/number_format.hpp"

#include "astro/sky_position.hpp"

namespace events {
namespace {

constexpr std::string_view Greatest =
    "Gr\xF6\xDF"
    "te Finsternis";
constexpr std::string_view Magnitude =
    "Gr\xF6\xDF"
    "e";

// A lunar eclipse's contacts in time order with their labels.
struct LunarPhase {
    std::string_view label;
    std::optional<double> astro::LunarEclipse::*optionalContact;
    double astro::LunarEclipse::*contact;
};

constexpr LunarPhase LunarPhases[] = {
    {"Beginn der Halbschattenfinsternis", nullptr, &astro::LunarEclipse::penumbralBeginJdUt},
    {"Beginn der partiellen Finsternis", &astro::LunarEclipse::partialBeginJdUt, nullptr},
    {"Beginn der totalen Finsternis", &astro::LunarEclipse::totalBeginJdUt, nullptr},
    {Greatest, nullptr, &astro::LunarEclipse::greatestJdUt},
    {"Ende der totalen Finsternis", &astro::LunarEclipse::totalEndJdUt, nullptr},
    {"Ende der partiellen Finsternis", &astro::LunarEclipse::partialEndJdUt, nullptr},
    {"Ende der Halbschattenfinsternis", nullptr, &astro::LunarEclipse::penumbralEndJdUt},
};

std::string sunAltitudeText(double altitudeDeg)
{
    return altitudeDeg > 0 ? "Sonnenh\xF6he " + degreesText(altitudeDeg)
                           : "Sonne unter dem Horizont (" + degreesText(altitudeDeg) + ")";
}

std::vector<EclipseLine> solarSeenLines(const EclipseSeen& seen, const InstantText& instant)
{
    if (!seen.solar) {
        return {{"Am Ort", {"nicht sichtbar: der Halbschatten des Mondes erreicht den Ort nicht"}}};
    }
    const astro::LocalSolarEclipse& local = *seen.solar;
    if (!seen.visible) {
        return {{"Am Ort",
                 {"nicht sichtbar: die Sonne steht w\xE4hrend der ganzen Finsternis unter dem "
                  "Horizont"}}};
    }
    // The Moon's disc covers the Sun's wholly (total) or lies within it (annular).
    const bool total = local.magnitude >= 1;
    std::vector<EclipseLine> lines = {
        {"Am Ort",
         {std::string("sichtbar, ") +
          (local.centralBeginJdUt ? (total ? "total" : "ringf\xF6rmig") : "partiell")}},
        {"Beginn", {instant(local.beginJdUt), sunAltitudeText(local.sunAltitudeBeginDeg)}}};
    const std::string central = total ? "der Totalit\xE4t" : "der Ringphase";
    if (local.centralBeginJdUt) {
        lines.push_back({"Beginn " + central, {instant(*local.centralBeginJdUt)}});
    }
    lines.push_back({"Maximum",
                     {instant(local.maximumJdUt), sunAltitudeText(local.sunAltitudeMaximumDeg),
                      std::string(Magnitude) + " " + magnitudeText(local.magnitude),
                      "Bedeckung " + percentText(local.obscuration)}});
    if (local.centralEndJdUt) {
        lines.push_back({"Ende " + central, {instant(*local.centralEndJdUt)}});
    }
    lines.push_back({"Ende", {instant(local.endJdUt), sunAltitudeText(local.sunAltitudeEndDeg)}});
    return lines;
}

}  // namespace

EclipseSeen eclipseSeenFrom(const EclipseEntry& entry, const astro::GeoPlace& place)
{
    EclipseSeen seen;
    if (entry.lunar) {
        seen.moonAltitudeDeg = astro::moonInSky(entry.lunar->greatestJdUt, place).altitudeDeg;
        seen.visible = astro::aboveHorizonDuring(astro::EclipsedBody::Moon, place,
                                                 entry.lunar->penumbralBeginJdUt,
                                                 entry.lunar->penumbralEndJdUt);
    } else if (entry.solar) {
        seen.solar = astro::localSolarEclipse(entry.solar->greatestJdUt, place);
        seen.visible = seen.solar && seen.solar->visible;
    }
    return seen;
}

std::vector<EclipseLine> eclipsePhaseLines(const EclipseEntry& entry, const InstantText& instant)
{
    std::vector<EclipseLine> lines;
    if (entry.lunar) {
        const astro::LunarEclipse& lunar = *entry.lunar;
        for (const LunarPhase& phase : LunarPhases) {
            const std::optional<double> at =
                phase.contact != nullptr ? lunar.*phase.contact : lunar.*phase.optionalContact;
            if (at) {
                lines.push_back({std::string(phase.label), {instant(*at)}});
            }
        }
        lines.push_back(
            {std::string(Magnitude) + " im Kernschatten", {magnitudeText(lunar.umbralMagnitude)}});
        lines.push_back({std::string(Magnitude) + " im Halbschatten",
                         {magnitudeText(lunar.penumbralMagnitude)}});
    } else if (entry.solar) {
        lines.push_back({std::string(Greatest), {instant(entry.solar->greatestJdUt)}});
        lines.push_back({std::string(Magnitude), {magnitudeText(entry.solar->magnitude)}});
        lines.push_back({"Gamma", {magnitudeText(entry.solar->gamma)}});
    }
    return lines;
}

std::vector<EclipseLine> eclipseSeenLines(const EclipseEntry& entry, const EclipseSeen& seen,
                                          const InstantText& instant)
{
    if (entry.solar) {
        return solarSeenLines(seen, instant);
    }
    const std::string altitude = degreesText(seen.moonAltitudeDeg.value_or(0.0));
    return {{"Am Ort",
             {seen.visible ? "sichtbar"
                           : "nicht sichtbar: der Mond steht w\xE4hrend der ganzen Finsternis "
                             "unter dem Horizont"}},
            {"Mondh\xF6he bei gr\xF6\xDF"
             "ter Finsternis",
             {altitude}}};
}

namespace {

// A value below 1 that would round to 1 keeps the largest text below it, so that a partial phase
// never reads as a whole one.
std::string belowOne(double value, double scale, std::string_view mask, std::string_view largest)
{
    const std::string text = formatWithMask(value * scale, mask);
    return value < 1 && formatWithMask(scale, mask) == text ? std::string(largest) : text;
}

}  // namespace

std::string magnitudeText(double magnitude)
{
    return belowOne(magnitude, 1, "0.000", "0.999");
}

std::string degreesText(double angleDeg)
{
    return formatWithMask(angleDeg, "0.0") + "\xB0";
}

std::string percentText(double fraction)
{
    return belowOne(fraction, 100, "0.0", "99.9") + " %";
}

}  // namespace events
