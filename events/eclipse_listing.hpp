// Every eclipse in time order, as the companion's eclipse listing and its calendar give them: the
// series (astro/eclipses) finds them, the true positions (astro/eclipse_circumstances) give a
// lunar eclipse its contacts, magnitudes and kind, penumbral eclipses included, and a solar
// eclipse keeps the series' kind, gamma and magnitude. Where the two classifications of a lunar
// eclipse disagree at a boundary, the listing follows the true positions; the window's list keeps
// the series' (tests/data/eclipse_borderline.csv names every such eclipse of 1900-2100).
#pragma once

#include "events/event_sets.hpp"

#include "astro/eclipse_circumstances.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace events {

// The kinds of the listing: the window's five and the penumbral lunar eclipse.
enum class EclipseType : std::int32_t {
    PenumbralLunar,
    PartialLunar,
    TotalLunar,
    PartialSolar,
    AnnularSolar,
    TotalSolar,
};

// "penumbral_lunar_eclipse", "total_solar_eclipse": the keys of the event kinds (eventKey) for
// the window's five, never changed once published.
std::string_view eclipseKey(EclipseType type);

// Windows-1252: "Halbschatten-Mondfinsternis", "Totale Sonnenfinsternis" (eventTitle for the
// window's five).
std::string_view eclipseTitle(EclipseType type);

bool isLunar(EclipseType type);

struct EclipseEntry {
    EclipseType type = EclipseType::PenumbralLunar;
    double seriesDayNumber = 0.0;       // the series' greatest eclipse, JDE - 0.5
    std::optional<Eclipse> windowKind;  // the kind the window's list gives the same eclipse
    std::optional<astro::LunarEclipse> lunar;
    std::optional<astro::SolarEclipse> solar;

    // Greatest eclipse: the true positions' for a lunar eclipse, the series' for a solar one.
    double greatestJdUt() const;
};

// The first `count` eclipses whose greatest eclipse lies at or after the instant.
std::vector<EclipseEntry> eclipsesFrom(double jdUt, std::size_t count);

// Every eclipse whose listed time (the series' day number with the summer-time hour of the
// lists, displayedInstant) lies within [fromDayNumber, untilDayNumber): the calendar's range, by
// the rule its phases follow.
std::vector<EclipseEntry> eclipsesBetween(double fromDayNumber, double untilDayNumber);

}  // namespace events
