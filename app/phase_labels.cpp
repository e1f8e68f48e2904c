#include "app/phase_labels.hpp"

#include "app/control_ids.hpp"
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
    SetDlgItemTextA(dialog, IdEventText,
                    events::eventLineText(nearest.phase, nearest.distanceDays).c_str());
    showCountdown(dialog, std::fabs(nearest.distanceDays));
}

void showNearestPhase(HWND dialog)
{
    showNearestPhaseAt(dialog, astro::readLocalClock());
}

void showCountdown(HWND dialog, double days)
{
    const events::CountdownParts parts = events::countdownParts(days);
    SetDlgItemTextA(dialog, IdDays, parts.daysText.c_str());
    SetDlgItemTextA(dialog, IdHours, parts.hoursText.c_str());
    SetDlgItemTextA(dialog, IdMinutes, parts.minutesText.c_str());
    SetDlgItemTextA(dialog, IdSeconds, parts.secondsText.c_str());
    display::drawCountdownDial(dialog, IdCountdownDial, display::DialMode::Update, parts.dialText);
}

}  // namespace app
