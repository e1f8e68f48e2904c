#include "events/eclipse_listing.hpp"

#include "events/event_kinds.hpp"

#include "astro/delta_t.hpp"
#include "astro/eclipses.hpp"
#include "astro/lunar_phases.hpp"
#include "astro/time_scale.hpp"

#include <iterator>

namespace events {
namespace {

struct TypeEntry {
    EclipseType type;
    std::optional<Eclipse> windowKind;  // the same kind in the window's list
    astro::EclipseKind seriesKind;      // the kind eclipseInstant is asked for it
};

// In EclipseType order.
constexpr TypeEntry Types[] = {
    {EclipseType::PenumbralLunar, std::nullopt, astro::EclipseKind::Partial},
    {EclipseType::PartialLunar, Eclipse::PartialLunar, astro::EclipseKind::Partial},
    {EclipseType::TotalLunar, Eclipse::TotalLunar, astro::EclipseKind::Total},
    {EclipseType::PartialSolar, Eclipse::PartialSolar, astro::EclipseKind::Partial},
    {EclipseType::AnnularSolar, Eclipse::AnnularSolar, astro::EclipseKind::Annular},
    {EclipseType::TotalSolar, Eclipse::TotalSolar, astro::EclipseKind::Total},
};

constexpr std::string_view PenumbralKey = "penumbral_lunar_eclipse";
constexpr std::string_view PenumbralTitle = "Halbschatten-Mondfinsternis";

const TypeEntry& entryOf(EclipseType type)
{
    return Types[static_cast<std::size_t>(type) % std::size(Types)];
}

// The kind the window's list gives the eclipse of lunation k's New or Full Moon, if any.
std::optional<Eclipse> windowKindOf(double k, bool solar)
{
    for (const TypeEntry& entry : Types) {
        if (entry.windowKind && isLunar(entry.type) != solar) {
            double lunation = k;
            const double fraction = solar ? astro::NewMoonFraction : astro::FullMoonFraction;
            if (astro::eclipseInstant(lunation, fraction, entry.seriesKind) != astro::NoEclipse) {
                return entry.windowKind;
            }
        }
    }
    return std::nullopt;
}

std::optional<EclipseEntry> solarEntry(double k)
{
    const std::optional<astro::SolarEclipse> solar = astro::solarEclipseOfLunation(k);
    if (!solar) {
        return std::nullopt;
    }
    EclipseEntry entry;
    entry.type = solar->kind == astro::SolarEclipseKind::Total     ? EclipseType::TotalSolar
                 : solar->kind == astro::SolarEclipseKind::Annular ? EclipseType::AnnularSolar
                                                                   : EclipseType::PartialSolar;
    entry.seriesDayNumber = astro::dayNumberOfJulianDay(solar->seriesJde);
    entry.windowKind = windowKindOf(k, true);
    entry.solar = solar;
    return entry;
}

std::optional<EclipseEntry> lunarEntry(double k)
{
    const std::optional<astro::LunarEclipse> lunar = astro::lunarEclipseOfLunation(k);
    if (!lunar) {
        return std::nullopt;
    }
    EclipseEntry entry;
    entry.type = lunar->kind == astro::LunarEclipseKind::Total     ? EclipseType::TotalLunar
                 : lunar->kind == astro::LunarEclipseKind::Partial ? EclipseType::PartialLunar
                                                                   : EclipseType::PenumbralLunar;
    entry.seriesDayNumber = astro::dayNumberOfJulianDay(lunar->seriesJde);
    entry.windowKind = windowKindOf(k, false);
    entry.lunar = lunar;
    return entry;
}

// The eclipses of lunation k in time order: its New Moon's, then its Full Moon's.
template <typename Take>
void eachEclipseOf(double k, Take&& take)
{
    for (const std::optional<EclipseEntry>& entry : {solarEntry(k), lunarEntry(k)}) {
        if (entry) {
            take(*entry);
        }
    }
}

// A greatest eclipse lies within an hour or two of its New or Full Moon: once a New Moon can come
// no earlier than a day after the end of a range, no eclipse of it or later falls in the range.
constexpr double DaysPastRange = 1.0;

}  // namespace

std::string_view eclipseKey(EclipseType type)
{
    const TypeEntry& entry = entryOf(type);
    return entry.windowKind ? eventKey(eventKindOf(*entry.windowKind)) : PenumbralKey;
}

std::string_view eclipseTitle(EclipseType type)
{
    const TypeEntry& entry = entryOf(type);
    return entry.windowKind ? eventTitle(eventKindOf(*entry.windowKind)) : PenumbralTitle;
}

bool isLunar(EclipseType type)
{
    return type == EclipseType::PenumbralLunar || type == EclipseType::PartialLunar ||
           type == EclipseType::TotalLunar;
}

double EclipseEntry::greatestJdUt() const
{
    return lunar ? lunar->greatestJdUt : solar ? solar->greatestJdUt : 0.0;
}

std::vector<EclipseEntry> eclipsesFrom(double jdUt, std::size_t count)
{
    std::vector<EclipseEntry> eclipses;
    const double first = astro::lunationBefore(astro::terrestrialJulianDay(jdUt));
    for (std::int64_t step = 0; eclipses.size() < count; ++step) {
        eachEclipseOf(first + static_cast<double>(step), [&](const EclipseEntry& entry) {
            if (entry.greatestJdUt() >= jdUt && eclipses.size() < count) {
                eclipses.push_back(entry);
            }
        });
    }
    return eclipses;
}

std::vector<EclipseEntry> eclipsesBetween(double fromDayNumber, double untilDayNumber)
{
    std::vector<EclipseEntry> eclipses;
    const double untilJde = astro::julianDayOfDayNumber(untilDayNumber) + DaysPastRange;
    const double first = astro::lunationBefore(astro::julianDayOfDayNumber(fromDayNumber));
    for (std::int64_t step = 0;; ++step) {
        const double k = first + static_cast<double>(step);
        if (!(astro::phaseInstantRange(k, astro::NewMoonFraction).earliest < untilJde)) {
            break;
        }
        eachEclipseOf(k, [&](const EclipseEntry& entry) {
            const double listed = displayedInstant(entry.seriesDayNumber);
            if (listed >= fromDayNumber && listed < untilDayNumber) {
                eclipses.push_back(entry);
            }
        });
    }
    return eclipses;
}

}  // namespace events
