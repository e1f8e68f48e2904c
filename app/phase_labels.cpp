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
}  // namespace app
