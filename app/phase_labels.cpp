#include "app/phase_labels.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_text.hpp"
#include "display/dials.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"

#include <cmath>

namespace app {

void showNearestPhaseAt(HWND dialog, const astro::SystemTime& now)
{
    const events::NearestPhase nearest = events::nearestPhase(now);
    if (!nearest.found) {
        return;
    }
    setControlText(dialog, IdEventText, events::eventLineText(nearest.phase, nearest.distanceDays));
    showCountdown(dialog, std::fabs(nearest.distanceDays));
}

void showNearestPhase(HWND dialog)
{
    showNearestPhaseAt(dialog, astro::readLocalClock());
}

void showCountdown(HWND dialog, double days)
{
    const events::CountdownParts parts = events::countdownParts(days);
    setControlText(dialog, IdDays, parts.daysText);
    setControlText(dialog, IdHours, parts.hoursText);
    setControlText(dialog, IdMinutes, parts.minutesText);
    setControlText(dialog, IdSeconds, parts.secondsText);
    display::drawCountdownDial(dialog, IdCountdownDial, display::DialMode::Update, parts.dialText);
    setAccessibleValue(IdCountdownDial, parts.dialText);
}

std::string phaseLabelTexts()
{
    std::string texts;
    for (const events::Phase phase : {events::Phase::NewMoon, events::Phase::FirstQuarter,
                                      events::Phase::FullMoon, events::Phase::LastQuarter}) {
        texts += events::eventLineText(phase, 1.0);
        texts += events::eventLineText(phase, -1.0);
    }
    // 0 to 9 days, as the days label writes them (the other parts are written the same way).
    for (int days = 0; days <= 9; ++days) {
        texts += events::countdownParts(days).daysText;
    }
    return texts;
}

}  // namespace app
