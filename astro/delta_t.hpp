// Delta-T, the difference TT - UT between Terrestrial Time (the time scale of the phase and
// eclipse series) and Universal Time (the time of the Earth's rotation, which civil clocks keep).
//
// Fred Espenak and Jean Meeus, "Polynomial Expressions for Delta T" (Five Millennium Canon of
// Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141, section 2.6), the polynomials behind
// NASA's eclipse tables: observed values fitted up to 2005, a short extrapolation to 2150, and
// outside -500..2150 the long-term parabola -20 + 32 u^2 of the tidal slowing of the Earth,
// u = (y - 1820) / 100. Far from the present that parabola is an estimate only (some 31 days at
// the year 30000), but it keeps the conversion defined for every year the program handles.
#pragma once

namespace astro {

// The decimal year of 2000-01-01 00:00 is 2000.0; a mean Gregorian year is 365.2425 days.
inline constexpr double JulianDayOfYear2000 = 2451544.5;
inline constexpr double DaysPerGregorianYear = 365.2425;

// The decimal year of a Julian Day (of either time scale: the minute between them is a
// two-millionth of a year and moves Delta-T by less than a millisecond).
double decimalYear(double julianDay);

// Delta-T = TT - UT in seconds for a decimal year.
double deltaTSeconds(double decimalYear);

// The Julian Day in Universal Time of an instant in Terrestrial Time (a series' JDE).
double universalJulianDay(double jde);

// The Julian Ephemeris Day (Terrestrial Time) of a Julian Day in Universal Time: the instant the
// position series take for a clock's instant. Delta-T is taken at the UT's decimal year; the
// minute between the two scales moves it by far less than a millisecond.
double terrestrialJulianDay(double jdUt);

}  // namespace astro
