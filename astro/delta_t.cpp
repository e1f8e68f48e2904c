#include "astro/delta_t.hpp"

#include <array>
#include <cstddef>
#include <iterator>

namespace astro {
namespace {

constexpr double SecondsPerDay = 86400.0;

// One piece of the fit: Delta-T = sum of c[i] t^i seconds with t = (y - origin) / scale, for
// decimal years y from the end of the previous piece up to `endYear`.
struct Piece {
    double endYear;
    double origin;
    double scale;
    std::array<double, 8> c;
};

// Espenak and Meeus, NASA/TP-2006-214141, section 2.6, piece by piece in their order. Where
// they divide by a number (t^3 / 7129) the coefficient is that division.
constexpr Piece Pieces[] = {
    // -500 .. 500: u = y / 100
    {500, 0, 100, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521}},
    // 500 .. 1600: u = (y - 1000) / 100
    {1600,
     1000,
     100,
     {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073}},
    // 1600 .. 1700
    {1700, 1600, 1, {120, -0.9808, -0.01532, 1.0 / 7129}},
    // 1700 .. 1800
    {1800, 1700, 1, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000}},
    // 1800 .. 1860
    {1860,
     1800,
     1,
     {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699,
      0.000000000875}},
    // 1860 .. 1900
    {1900, 1860, 1, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174}},
    // 1900 .. 1920
    {1920, 1900, 1, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197}},
    // 1920 .. 1941
    {1941, 1920, 1, {21.20, 0.84493, -0.076100, 0.0020936}},
    // 1941 .. 1961
    {1961, 1950, 1, {29.07, 0.407, -1.0 / 233, 1.0 / 2547}},
    // 1961 .. 1986
    {1986, 1975, 1, {45.45, 1.067, -1.0 / 260, -1.0 / 718}},
    // 1986 .. 2005
    {2005, 2000, 1, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}},
    // 2005 .. 2050
    {2050, 2000, 1, {62.92, 0.32217, 0.005589}},
    // 2050 .. 2150: -20 + 32 u^2 - 0.5628 (2150 - y) with u = (y - 1820) / 100, written out in u
    // (2150 - y = 330 - 100 u), so that it joins the long-term parabola at 2150.
    {2150, 1820, 100, {-20 - 0.5628 * 330, 0.5628 * 100, 32}},
};

constexpr double FirstPieceStart = -500;

// Outside the pieces: the long-term parabola, u = (y - 1820) / 100.
double longTerm(double y)
{
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u;
}

double evaluate(const Piece& piece, double y)
{
    const double t = (y - piece.origin) / piece.scale;
    double sum = 0;
    for (std::size_t i = std::size(piece.c); i-- > 0;) {
        sum = sum * t + piece.c[i];
    }
    return sum;
}

}  // namespace

double decimalYear(double julianDay)
{
    return 2000 + (julianDay - JulianDayOfYear2000) / DaysPerGregorianYear;
}

double deltaTSeconds(double decimalYear)
{
    if (!(decimalYear >= FirstPieceStart)) {
        return longTerm(decimalYear);
    }
    for (const Piece& piece : Pieces) {
        if (decimalYear < piece.endYear) {
            return evaluate(piece, decimalYear);
        }
    }
    return decimalYear <= std::end(Pieces)[-1].endYear ? evaluate(std::end(Pieces)[-1], decimalYear)
                                                       : longTerm(decimalYear);
}

double universalJulianDay(double jde)
{
    return jde - deltaTSeconds(decimalYear(jde)) / SecondsPerDay;
}

double terrestrialJulianDay(double jdUt)
{
    return jdUt + deltaTSeconds(decimalYear(jdUt)) / SecondsPerDay;
}

}  // namespace astro
