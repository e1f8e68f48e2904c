#include "display/pointer.hpp"

#include <cmath>
#include <cstdlib>

#include "display/angles.hpp"
#include "display/phase_diagram.hpp"

namespace display {
namespace {

constexpr float TipRadius = 110;
constexpr float HeadBaseRadius = TipRadius - 12;
// The shaft runs from the tip 75 pixels back towards the centre, to the Earth's edge.
constexpr float ShaftLength = 110 - 185;
// The arrowhead is one 128th of a turn wide on each side of the tip.
constexpr double HeadHalfWidthTurns = 1.0 / 128;

const Color PointerColour = rgb(192, 0, 0);

// Position last drawn, in divisions; a fresh page is drawn without a pointer, so erasing there
// paints ground over ground.
float previousPosition = 0;

// Screen angle in radians of a position, clockwise from the right with -90 degrees up.
double screenAngle(double position, int divisions)
{
    const double degrees = position * 360 / divisions - 90;
    return radiansOf(degrees);
}

PointF onCircle(double radius, double angle)
{
    return {static_cast<float>(EarthCentreX + radius * std::cos(angle)),
            static_cast<float>(EarthCentreY + radius * std::sin(angle))};
}

void drawPointer(Canvas& canvas, float position, int divisions, Color color)
{
    const PointerShape shape = phasePointerShape(position, divisions);
    canvas.polygon(shape.head, color, color, FillSolid, false);
    canvas.moveTo(shape.shaftStart.x, shape.shaftStart.y);
    canvas.lineTo(shape.shaftEnd.x, shape.shaftEnd.y, color);
}

}  // namespace

PointerShape phasePointerShape(float position, int divisions)
{
    const auto p = static_cast<double>(position);
    const double halfWidth = divisions * HeadHalfWidthTurns;
    const double a = screenAngle(p, divisions);
    PointerShape shape{};
    shape.head[0] =
        onCircle(static_cast<double>(HeadBaseRadius), screenAngle(p - halfWidth, divisions));
    shape.head[1] = onCircle(static_cast<double>(TipRadius), a);
    shape.head[2] =
        onCircle(static_cast<double>(HeadBaseRadius), screenAngle(p + halfWidth, divisions));
    shape.shaftStart = shape.head[1];
    shape.shaftEnd = {static_cast<float>(static_cast<double>(shape.shaftStart.x) +
                                         static_cast<double>(ShaftLength) * std::cos(a)),
                      static_cast<float>(static_cast<double>(shape.shaftStart.y) +
                                         static_cast<double>(ShaftLength) * std::sin(a))};
    return shape;
}

void drawPhasePointer(HWND dialog, int controlId, int& position, int& divisions)
{
    // Wide arithmetic: the magnitude of the most negative int does not fit an int.
    if (std::llabs(static_cast<long long>(position)) >= static_cast<long long>(divisions))
        position = 0;
    if (divisions <= 0)
        return;

    Canvas& canvas = attachCanvas(dialog, controlId, true);
    canvas.setPenWidth(1);
    const float old = previousPosition;
    previousPosition = static_cast<float>(position);
    // Nothing of the diagram is drawn at (3, 3): it shows the page ground.
    const Color ground = canvas.getPixel(3, 3);
    drawPointer(canvas, old, divisions, ground);
    drawPointer(canvas, static_cast<float>(position), divisions, PointerColour);
    canvas.redraw();
}

void resetPhasePointer()
{
    previousPosition = 0;
}

}  // namespace display
