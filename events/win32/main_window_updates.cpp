#include "events/win32/main_window_updates.hpp"

#include "app/control_ids.hpp"
#include "display/canvas.hpp"
#include "display/dials.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "events/number_format.hpp"

#include <cmath>

namespace events {
namespace {

int nearestInt(double value)
{
    return static_cast<int>(roundHalfEven(value));
}

}  // namespace

void showNearestPhaseAt(HWND dialog, const astro::SystemTime& now)
{
    const NearestPhase nearest = nearestPhase(now);
    if (!nearest.found) {
        return;
    }
    SetDlgItemTextA(dialog, app::IdEventText,
                    eventLineText(nearest.phase, nearest.distanceDays).c_str());
    showCountdown(dialog, std::fabs(nearest.distanceDays));
}

void showNearestPhase(HWND dialog)
{
    showNearestPhaseAt(dialog, astro::readLocalClock());
}

void showCountdown(HWND dialog, double days)
{
    const CountdownParts parts = countdownParts(days);
    SetDlgItemTextA(dialog, app::IdDays, parts.daysText.c_str());
    SetDlgItemTextA(dialog, app::IdHours, parts.hoursText.c_str());
    SetDlgItemTextA(dialog, app::IdMinutes, parts.minutesText.c_str());
    SetDlgItemTextA(dialog, app::IdSeconds, parts.secondsText.c_str());
    display::drawCountdownDial(dialog, app::IdCountdownDial, display::DialUpdate, parts.dialText);
}

GaugeGeometry gaugeGeometry(int width, int height)
{
    const double w = width;
    const double h = height;
    GaugeGeometry g{};
    g.margin = nearestInt(w / 50);
    g.centre = nearestInt((w - g.margin) / 2);
    g.left = nearestInt(w / 2 - g.centre);
    g.left = g.left - g.left % 2 + 2;  // an odd value goes down to even, then 2 more
    g.top = nearestInt(h / 10);
    g.bottom = nearestInt(15 * (h / 20) + g.top);
    const double span = w - g.margin;
    g.pixelsPerUnit = static_cast<float>((span - span / 40) / 100);
    return g;
}

void drawFractionGauge(HWND dialog, int controlId, double value, int fullScale, int)
{
    display::Canvas& canvas = display::attachCanvas(dialog, controlId, true);
    canvas.clear(display::rgb(255, 255, 255), display::FillSolid);

    const GaugeGeometry g = gaugeGeometry(canvas.width(), canvas.height());
    const int units = fullScale != 0 ? nearestInt(value * (100.0 / fullScale)) : 0;
    const std::string text = fractionText(value);

    canvas.setForeground(display::rgb(0, 0, 0));
    canvas.setBackground(canvas.getPixel(3, 3));
    const display::SizeF size = canvas.textSize(text);
    const double width = size.width;
    const double height = size.height;
    canvas.moveTo(static_cast<float>(g.centre + g.left - width / 2),
                  static_cast<float>(g.top + (g.bottom - g.top) / 2.0 - height / 2));
    canvas.print(text);

    // Yellow over white stays yellow; over the black text it gives blue.
    canvas.setMix(display::MixNotXorPen);
    const float end = static_cast<float>(g.left) + g.pixelsPerUnit * static_cast<float>(units);
    for (int y = g.top + 1; y <= g.bottom - 1; ++y) {
        canvas.moveTo(static_cast<float>(g.left), static_cast<float>(y));
        canvas.lineTo(end, static_cast<float>(y), display::rgb(255, 255, 0));
    }
    canvas.redraw();
}

}  // namespace events
