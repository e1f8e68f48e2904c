#include "events/eclipse_listing.hpp"

#include "events/eclipse_texts.hpp"
#include "events/event_kinds.hpp"
#include "support.hpp"

#include "astro/time_scale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <span>
#include <vector>

namespace events {
namespace {

using testing::at;

// Every eclipse event the calendar held before the listing keeps its kind and its series'
// instant, so the identifiers made of them stay; what the listing adds are the penumbral lunar
// eclipses and the solar eclipses the window gives no kind (the non-central total and annular
// ones). Two centuries, every eclipse of them; and the calendar's last century, where Meeus's
// series and his lunar theory lie half a day apart (searched only an hour either side of the
// series' instant, the true positions lost most of its lunar eclipses).
TEST(EclipseListing, KeepsEveryEclipseOfTheWindowAndAddsPenumbralAndNonCentralOnes)
{
    struct Span {
        int fromYear;
        int untilYear;
        bool counted;  // the additions below, known for 1900-2100
    };
    for (const Span span : {Span{1900, 2101, true}, Span{9900, 10000, false}}) {
        SCOPED_TRACE(span.fromYear);
        const double from = astro::dayNumberOf(at(span.fromYear, 1, 1));
        const double until = astro::dayNumberOf(at(span.untilYear, 1, 1));
        std::map<double, EventKind> window;
        for (const Event& event : eventsBetween(PhaseAndEclipseKinds.subspan<4>(), from, until)) {
            window.emplace(event.seriesDayNumber, event.kind);
        }
        ASSERT_GT(window.size(), 350u);

        std::map<EclipseType, int> added;
        double previous = 0;
        for (const EclipseEntry& entry : eclipsesBetween(from, until)) {
            EXPECT_GT(entry.greatestJdUt(), previous) << "in time order";
            previous = entry.greatestJdUt();
            const auto found = window.find(entry.seriesDayNumber);
            if (found == window.end()) {
                EXPECT_FALSE(entry.windowKind);
                ++added[entry.type];
                continue;
            }
            ASSERT_TRUE(entry.windowKind) << entry.seriesDayNumber;
            EXPECT_EQ(eventKindOf(*entry.windowKind), found->second);
            window.erase(found);
        }
        EXPECT_TRUE(window.empty()) << window.size() << " eclipses of the window are missing";
        if (span.counted) {
            // The 168 penumbral lunar eclipses of tests/data/eclipses.csv but the two the
            // window counts as partial, and the seven non-central solar eclipses of
            // tests/data/eclipse_borderline.csv (four total, three annular).
            EXPECT_EQ(added[EclipseType::PenumbralLunar], 166);
            EXPECT_EQ(added[EclipseType::TotalSolar], 4);
            EXPECT_EQ(added[EclipseType::AnnularSolar], 3);
            EXPECT_EQ(added.size(), 3u);
        }
    }
}

// A magnitude or part of the Sun's disc below 1 never reads as 1: the grazing partial phase at
// Madrid on 12 August 2026 covers 0.9996 of the Sun.
TEST(EclipseTexts, NumbersBelowOneNeverReadAsOne)
{
    struct Case {
        double value;
        const char* magnitude;
        const char* percent;
    };
    const Case cases[] = {
        {0.99965, "0.999", "99.9 %"}, {0.9987, "0.999", "99.9 %"}, {1.0, "1.000", "100.0 %"},
        {1.0391, "1.039", "103.9 %"}, {0.8745, "0.875", "87.5 %"}, {-0.0591, "-0.059", "-5.9 %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(magnitudeText(c.value), c.magnitude) << c.value;
        EXPECT_EQ(percentText(c.value), c.percent) << c.value;
    }
}

// The listing from an instant starts with the first eclipse whose greatest eclipse is not
// before it: 12 August 2026, 17:46 UT (total solar), then 28 August 2026 (partial lunar).
TEST(EclipseListing, StartsAtTheFirstGreatestEclipseNotBeforeTheInstant)
{
    const double greatest = eclipsesFrom(astro::julianDayOf(at(2026, 8, 12)), 1)[0].greatestJdUt();
    EXPECT_NEAR(greatest, astro::julianDayOf(at(2026, 8, 12, 17, 46)), 1.0 / 1440);
    const std::vector<EclipseEntry> atIt = eclipsesFrom(greatest, 2);
    const std::vector<EclipseEntry> after = eclipsesFrom(greatest + 1e-6, 2);
    ASSERT_EQ(atIt.size(), 2u);
    EXPECT_EQ(atIt[0].type, EclipseType::TotalSolar);
    EXPECT_EQ(atIt[1].type, EclipseType::PartialLunar);
    EXPECT_EQ(after[0].type, EclipseType::PartialLunar);
    EXPECT_EQ(eclipseKey(EclipseType::PenumbralLunar), "penumbral_lunar_eclipse");
    EXPECT_EQ(eclipseKey(EclipseType::AnnularSolar), "annular_solar_eclipse");
}

}  // namespace
}  // namespace events
