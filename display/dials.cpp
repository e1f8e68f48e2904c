#include "display/dials.hpp"

#include "display/angles.hpp"
#include "display/canvas.hpp"
#include "display/palette.hpp"
#include "events/lenient_number.hpp"
#include "events/number_format.hpp"

#include <cmath>
#include <cstdio>

namespace display {
namespace {

const Color HandColour = rgb(120, 148, 188);
const Color SecondHandColour = rgb(212, 0, 0);
const Color MinuteDotColour = rgb(160, 160, 160);
const Color CentreRingColour = rgb(140, 164, 198);
const Color DigitalTimeColour = rgb(0, 0, 160);

// One record per dial, kept between calls: the centre and radius fixed at set-up, and the hands
// last drawn, which the next update erases by drawing them again in the dial's background.
struct ClockGeometry {
    float cx = 0;
    float cy = 0;
    float radius = 0;
    DialTime previous;
    DialTime current;
    float shortening = 0;  // the count-down dial's hands are shorter by this much
};

ClockGeometry clockGeometry;
ClockGeometry countdownGeometry;

enum class DialKind { Clock, Countdown };

struct Hand {
    float outer;
    float inner;
    int width;
};
constexpr Hand HourHand{18, 68, 3};
constexpr Hand MinuteHand{12, 75, 2};
constexpr Hand SecondHand{6, 82, 1};

void setUpDial(Canvas& canvas, ClockGeometry& geometry, DialKind kind)
{
    // Laid out in 96-dpi pixels; the canvas draws them at the window's scale.
    const int width = canvas.logicalWidth();
    const int height = canvas.logicalHeight();
    canvas.setScale(0, 0, static_cast<float>(width), static_cast<float>(height));
    canvas.clear(NightBlue, FillSolid);
    canvas.setFont("Microsoft Sans Serif", 8, 0);

    geometry.cx = static_cast<float>(width) / 2;
    geometry.cy = static_cast<float>(height) / 2;
    geometry.radius = static_cast<float>(
        std::min(events::roundHalfEven(geometry.cx), events::roundHalfEven(geometry.cy)) - 10);
    geometry.shortening = kind == DialKind::Countdown ? 31.0f : 0.0f;

    // Hour marks every 30 degrees, minute dots between them; 0 degrees is on the right and
    // angles grow clockwise on the screen.
    canvas.setPenWidth(2);
    for (float a = 0; a <= 354; a += 6) {
        const long double radians = radiansOf(static_cast<long double>(a));
        const auto x = static_cast<float>(geometry.cx + geometry.radius * std::cos(radians));
        const auto y = static_cast<float>(geometry.cy + geometry.radius * std::sin(radians));
        if (std::fmod(a, 30.0f) == 0) {
            canvas.box(x, y, x + 2, y + 2, 0, HandColour, ColorNone, FillSolid);
        } else {
            canvas.setPixel(x, y, MinuteDotColour);
        }
    }

    const float cx = geometry.cx;
    const float cy = geometry.cy;
    if (kind == DialKind::Clock) {
        canvas.setPenWidth(2);
        canvas.box(cx - 3, cy - 3, cx + 3, cy + 3, EllipseCorner, CentreRingColour, ColorNone);
        canvas.setPenWidth(1);
        canvas.box(cx - 3.5f, cy - 3.5f, cx + 3.5f, cy + 3.5f, EllipseCorner, Black, ColorNone);
    } else {
        canvas.setPenWidth(2);
        canvas.box(cx - 0.9f, cy, cx + 1.9f, cy + 0.9f, EllipseCorner, CentreRingColour, ColorNone);
        canvas.setPenWidth(1);
        canvas.box(cx - 3, cy - 3, cx + 3, cy + 3, EllipseCorner, Black, ColorNone);
    }
    canvas.redraw();
}

void drawHand(Canvas& canvas, const ClockGeometry& geometry, const Hand& hand, double thetaDeg,
              Color colour)
{
    const HandLine line = handLine(geometry.cx, geometry.cy, geometry.radius, thetaDeg, hand.outer,
                                   hand.inner - geometry.shortening);
    canvas.setPenWidth(hand.width);
    canvas.moveTo(line.x1, line.y1);
    canvas.lineTo(line.x2, line.y2, colour);
}

void drawHands(Canvas& canvas, const ClockGeometry& geometry, const DialTime& t, Color hourColour,
               Color secondColour)
{
    const double h = t.hours;
    const double m = t.minutes;
    const double s = t.seconds;
    drawHand(canvas, geometry, HourHand, 30 * std::fmod(h, 12.0) - 90 + m * 30 / 60, hourColour);
    drawHand(canvas, geometry, MinuteHand, 6 * m - 90 + s * 6 / 60, hourColour);
    drawHand(canvas, geometry, SecondHand, 6 * s - 90, secondColour);
}

void updateDial(Canvas& canvas, ClockGeometry& geometry, DialKind kind, const std::string& text)
{
    geometry.previous = geometry.current;
    geometry.current = parseDialTime(text);

    const Color erase = canvas.getPixel(3, 3);
    drawHands(canvas, geometry, geometry.previous, erase, erase);

    if (kind == DialKind::Clock) {
        // Opaque, so each time covers the one before; the hands are drawn over it.
        canvas.setForeground(DigitalTimeColour);
        canvas.setBackground(erase);
        const SizeF size = canvas.textSize(text);
        canvas.moveTo(geometry.cx - size.width / 2,
                      geometry.cy + geometry.cy / 4 + size.height / 2);
        canvas.print(text);
        canvas.newLine();
    }

    drawHands(canvas, geometry, geometry.current, HandColour, SecondHandColour);
    canvas.redraw();
}

// A part of a time text: its value read the lenient way after leading blanks; a part that is
// not a number counts 0.
float partValue(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    return static_cast<float>(events::valueOf(events::readLeadingNumber(text)));
}

std::string part(const std::string& text, std::size_t first, std::size_t count)
{
    return first < text.size() ? text.substr(first, count) : std::string();
}

}  // namespace

DialTime parseDialTime(const std::string& text)
{
    DialTime t;
    t.hours = partValue(part(text, 0, 2));
    t.minutes = partValue(part(text, 3, 2));
    t.seconds = partValue(text.size() >= 2 ? text.substr(text.size() - 2) : text);
    return t;
}

std::string clockText(const astro::SystemTime& now)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(now.wHour % 100),
                  static_cast<unsigned>(now.wMinute % 100),
                  static_cast<unsigned>(now.wSecond % 100));
    return text;
}

HandLine handLine(float cx, float cy, float r, double thetaDeg, float outer, float inner)
{
    // The hand starts at radius r - outer and runs r - inner further along the ray; as the dials
    // have r below the inner values, that is back towards the centre.
    const long double radians = radiansOf(static_cast<long double>(thetaDeg));
    const long double ux = std::cos(radians);
    const long double uy = std::sin(radians);
    HandLine line{};
    line.x1 = static_cast<float>(cx + (r - outer) * ux);
    line.y1 = static_cast<float>(cy + (r - outer) * uy);
    line.x2 = static_cast<float>(line.x1 + (r - inner) * ux);
    line.y2 = static_cast<float>(line.y1 + (r - inner) * uy);
    return line;
}

void drawClockAt(HWND dialog, int controlId, DialMode mode, const astro::SystemTime& now)
{
    if (mode != DialMode::SetUp && mode != DialMode::Update) {
        return;
    }
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    if (mode == DialMode::SetUp) {
        setUpDial(canvas, clockGeometry, DialKind::Clock);
    }
    updateDial(canvas, clockGeometry, DialKind::Clock, clockText(now));
}

void drawClock(HWND dialog, int controlId, DialMode mode)
{
    drawClockAt(dialog, controlId, mode, astro::readLocalClock());
}

void drawCountdownDialAt(HWND dialog, int controlId, DialMode mode, const std::string& timeText,
                         const astro::SystemTime& now)
{
    if (mode != DialMode::SetUp && mode != DialMode::Update) {
        return;
    }
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    if (mode == DialMode::SetUp) {
        setUpDial(canvas, countdownGeometry, DialKind::Countdown);
    }
    const std::string text = timeText.find(':') == std::string::npos ? clockText(now) : timeText;
    updateDial(canvas, countdownGeometry, DialKind::Countdown, text);
}

void drawCountdownDial(HWND dialog, int controlId, DialMode mode, const std::string& timeText)
{
    drawCountdownDialAt(dialog, controlId, mode, timeText, astro::readLocalClock());
}

}  // namespace display
