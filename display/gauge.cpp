#include "display/gauge.hpp"

#include "display/canvas.hpp"
#include "display/palette.hpp"
#include "events/number_format.hpp"

#include <string>

namespace display {

void initGaugeCanvas(HWND dialog, int controlId)
{
    Canvas& canvas = attachCanvas(dialog, controlId, false);
    canvas.setFont("Microsoft Sans Serif", 8, 0);
    canvas.setScale(0, 0, static_cast<float>(canvas.width()), static_cast<float>(canvas.height()));
}

GaugeGeometry gaugeGeometry(int width, int height)
{
    const double w = width;
    const double h = height;
    GaugeGeometry g{};
    g.margin = events::nearestInt(w / 50);
    g.centre = events::nearestInt((w - g.margin) / 2);
    g.left = events::nearestInt(w / 2 - g.centre);
    g.left = g.left - g.left % 2 + 2;  // an odd value goes down to even, then 2 more
    g.top = events::nearestInt(h / 10);
    g.bottom = events::nearestInt(15 * (h / 20) + g.top);
    const double span = w - g.margin;
    g.pixelsPerUnit = static_cast<float>((span - span / 40) / 100);
    return g;
}

void drawFractionGauge(HWND dialog, int controlId, double value, int fullScale)
{
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    canvas.clear(White, FillSolid);

    const GaugeGeometry g = gaugeGeometry(canvas.width(), canvas.height());
    const int units = fullScale != 0 ? events::nearestInt(value * (100.0 / fullScale)) : 0;
    const std::string text = events::fractionText(value);

    canvas.setForeground(Black);
    canvas.setBackground(canvas.getPixel(3, 3));
    const SizeF size = canvas.textSize(text);
    const double width = size.width;
    const double height = size.height;
    canvas.moveTo(static_cast<float>(g.centre + g.left - width / 2),
                  static_cast<float>(g.top + (g.bottom - g.top) / 2.0 - height / 2));
    canvas.print(text);

    // Yellow over white stays yellow; over the black text it gives blue.
    canvas.setMix(MixNotXorPen);
    const float end = static_cast<float>(g.left) + g.pixelsPerUnit * static_cast<float>(units);
    for (int y = g.top + 1; y <= g.bottom - 1; ++y) {
        canvas.moveTo(static_cast<float>(g.left), static_cast<float>(y));
        canvas.lineTo(end, static_cast<float>(y), Yellow);
    }
    canvas.redraw();
}

}  // namespace display
