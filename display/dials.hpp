// The analog clock and the count-down dial.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "astro/system_time.hpp"

#include <string>

namespace display {

// What a dial drawing does; any other value does nothing.
enum class DialMode : int {
    SetUp = 1000,  // draw the face, then update
    Update = 100,  // move the hands
};

// The analog clock with a digital time line, showing the local time.
void drawClock(HWND dialog, int controlId, DialMode mode);
void drawClockAt(HWND dialog, int controlId, DialMode mode, const astro::SystemTime& now);

// The count-down dial: its hands show an "hh:mm:ss" text; a text without ":" shows the local
// time instead.
void drawCountdownDial(HWND dialog, int controlId, DialMode mode, const std::string& timeText);
void drawCountdownDialAt(HWND dialog, int controlId, DialMode mode, const std::string& timeText,
                         const astro::SystemTime& now);

// Hours, minutes and seconds of a time text: characters 1-2, 4-5 and the last two, each read as
// a number the way a lenient numeric parser reads it (events::readLeadingNumber after leading
// blanks; anything else counts 0).
struct DialTime {
    float hours = 0;
    float minutes = 0;
    float seconds = 0;
};
DialTime parseDialTime(const std::string& text);

// "hh:mm:ss" of a reading.
std::string clockText(const astro::SystemTime& now);

// Hand geometry, exposed for tests: the end points of a hand at angle thetaDeg (clockwise from
// the right, -90 up) on a dial of centre (cx, cy) and radius r.
struct HandLine {
    float x1;
    float y1;
    float x2;
    float y2;
};
HandLine handLine(float cx, float cy, float r, double thetaDeg, float outer, float inner);

}  // namespace display
