#!/usr/bin/env python3
"""Writes tests/data/lit_fraction.csv: the number the Lunavista gauge shows (the illuminated
fraction of the Moon's disc, in percent, to five decimals) for a list of local wall-clock
readings, computed here from the published method alone, with nothing taken from the program's
code. The events test compares the program's gauge text with each row.

    python3 tools/refdata/lit_fraction.py

Standard library only; the output is deterministic.

The method is Meeus's low-accuracy phase angle (Astronomical Algorithms, 2nd ed., ch. 48,
eq. 48.4 with the fundamental arguments of ch. 47), as the gauge takes it:

  * The reading is a local wall-clock time. The gauge takes the clock to be one hour ahead of
    Universal Time, so its Julian Day less one hour is the instant, and that Julian Day is used
    directly as a JDE (no Delta-T).
  * T = (JDE - 2451545) / 36525, and
        D  = 297.8502042 + 445267.11151686 T - 0.00163 T^2 + T^3/545868 - T^4/113065000
        M  = 357.5291092 + 35999.0502909 T - 0.0001536 T^2 + T^3/24490000
        M' = 134.9634114 + 477198.8676313 T + 0.008997 T^2 + T^3/69699 - T^4/14712000
    These are the coefficients the program is built with (the second edition prints slightly
    newer ones for D and M', eq. 47.2 and 47.4; what is pinned here is the gauge as it is).
  * i = 180 - D - 6.289 sin M' + 2.1 sin M - 1.274 sin(2D - M') - 0.658 sin 2D
        - 0.214 sin 2M' - 0.11 sin D                                            (eq. 48.4)
    k = 100 (1 + cos i) / 2 percent                                            (eq. 48.1)
  * The program keeps the T^2 coefficient of D and the six coefficients of i as single-precision
    constants (0.00163f, 6.289f, ...), whose values differ from the decimals in the 8th or 9th
    significant digit. Over 30,000 years that moves the fifth decimal, so the same binary values
    are used here (single()).
  * The gauge rounds to five decimals, halves to even, on the exact binary value, and writes the
    mask "#0.#####": no leading zeros before the units digit, no trailing zeros, and no point
    without decimals (100 -> "100", 0.5 -> "0.5").

Arithmetic here is plain double precision with the angles reduced to 0-360 degrees first; the
program works partly in extended precision on unreduced angles. The rounding errors grow with
the size of the angles: the two agree to about 1e-11 percent today and to a few 1e-8 percent in
the year 30827, so a row could only come out differently where the unrounded value lies that
close to a rounding half. None of the rows below does (the nearest, 2026-04-15 18:30, lies
9e-9 percent from one, several thousand times the error there); if a change of the list ever
brings one, leave that reading out with a note here.
"""

import math
import os
import struct
from decimal import ROUND_HALF_EVEN, Decimal

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "..", "..", "tests", "data", "lit_fraction.csv")

# Local wall-clock readings (year, month, day, hour, minute, second): spread over the years the
# program accepts (1601-30827), denser around now, and some at principal phases (the instants
# from tests/data/moon_phases.csv on a clock one hour ahead of Universal Time).
READINGS = [
    (1601, 1, 1, 0, 0, 0),
    (1648, 10, 24, 12, 0, 0),
    (1700, 3, 1, 6, 30, 0),
    (1789, 7, 14, 16, 0, 0),
    (1850, 11, 20, 3, 45, 10),
    (1900, 1, 1, 0, 0, 0),
    (1925, 6, 30, 23, 59, 59),
    (1950, 2, 28, 12, 0, 0),
    (1969, 7, 20, 21, 17, 40),
    (1980, 4, 6, 2, 0, 0),
    (1992, 4, 12, 1, 0, 0),  # Meeus's example 48.a: 1992 April 12, 0h
    (1999, 12, 31, 23, 59, 59),
    (2000, 1, 1, 13, 0, 0),  # J2000.0 after the gauge's hour: T = 0
    (2010, 6, 15, 8, 20, 0),
    (2020, 3, 29, 2, 30, 0),
    (2024, 2, 29, 12, 0, 0),
    (2024, 10, 27, 2, 59, 59),
    (2025, 1, 29, 13, 36, 33),  # New Moon, 12:36:33 UT
    (2025, 2, 5, 9, 2, 0),  # First Quarter, 08:02 UT
    (2025, 3, 14, 7, 54, 0),  # Full Moon (total lunar eclipse), 06:55 UT
    (2025, 5, 20, 12, 58, 0),  # Last Quarter, 11:59 UT
    (2025, 8, 9, 8, 55, 38),  # Full Moon, 07:55:38 UT
    (2025, 9, 21, 20, 54, 0),  # New Moon, 19:54 UT
    (2026, 1, 1, 0, 0, 0),
    (2026, 4, 15, 18, 30, 0),
    (2026, 7, 4, 4, 4, 4),
    (2026, 12, 20, 21, 15, 0),  # the README's example of `lunavista-cli now`
    (2026, 12, 24, 1, 45, 0),
    (2026, 12, 24, 2, 28, 45),  # Full Moon, 01:28:45 UT
    (2027, 2, 6, 16, 0, 0),
    (2027, 8, 2, 11, 7, 0),
    (2028, 1, 12, 4, 13, 0),
    (2029, 5, 5, 5, 5, 5),
    (2030, 12, 31, 23, 59, 59),
    (2040, 6, 1, 12, 0, 0),
    (2050, 9, 9, 9, 9, 9),
    (2100, 1, 1, 0, 0, 0),
    (2500, 8, 15, 18, 0, 0),
    (3000, 2, 1, 0, 0, 0),
    (4000, 12, 25, 20, 0, 0),
    (5000, 5, 5, 12, 0, 0),
    (7500, 10, 10, 10, 10, 10),
    (10000, 1, 1, 0, 0, 0),
    (15000, 7, 31, 22, 0, 0),
    (20000, 3, 3, 3, 3, 3),
    (25000, 11, 11, 11, 11, 11),
    (30000, 6, 6, 6, 0, 0),
    (30827, 12, 31, 23, 59, 59),
]


def single(value):
    """The binary value of a single-precision constant, as a double."""
    return struct.unpack("f", struct.pack("f", value))[0]


def julian_day(year, month, day, hour, minute, second):
    """Julian Day of a Gregorian calendar reading (Meeus, ch. 7, in integers)."""
    if month <= 2:
        year -= 1
        month += 12
    a = year // 100
    b = 2 - a + a // 4
    day_number = (1461 * (year + 4716)) // 4 + (306001 * (month + 1)) // 10000 + day + b - 1524
    return day_number - 0.5 + (hour * 3600 + minute * 60 + second) / 86400


def sin_deg(angle):
    return math.sin(math.radians(math.fmod(angle, 360.0)))


def cos_deg(angle):
    return math.cos(math.radians(math.fmod(angle, 360.0)))


def lit_percent(jde):
    """Meeus's low-accuracy illuminated fraction, in percent."""
    t = (jde - 2451545.0) / 36525.0
    d = (297.8502042 + 445267.11151686 * t - single(0.00163) * t**2 + t**3 / 545868
         - t**4 / 113065000)
    m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t**2 + t**3 / 24490000
    mp = 134.9634114 + 477198.8676313 * t + 0.008997 * t**2 + t**3 / 69699 - t**4 / 14712000
    d, m, mp = (math.fmod(x, 360.0) for x in (d, m, mp))
    i = (180.0 - d
         - single(6.289) * sin_deg(mp)
         + single(2.1) * sin_deg(m)
         - single(1.274) * sin_deg(2 * d - mp)
         - single(0.658) * sin_deg(2 * d)
         - single(0.214) * sin_deg(2 * mp)
         - single(0.11) * sin_deg(d))
    return 100.0 * (1.0 + cos_deg(i)) / 2.0


def gauge_text(percent):
    """Five decimals, halves to even on the exact binary value, through the mask "#0.#####"."""
    rounded = Decimal(percent).quantize(Decimal("0.00001"), rounding=ROUND_HALF_EVEN)
    return f"{rounded:f}".rstrip("0").rstrip(".")


def main():
    lines = [
        "# Made by tools/refdata/lit_fraction.py (Python 3, standard library only), which",
        "# computes Meeus's low-accuracy illuminated fraction on its own (see the script).",
        "# One local wall-clock reading per row and the gauge's text for it: the fraction in",
        "# percent of the Julian Day one hour earlier taken as JDE, rounded to five decimals",
        "# (halves to even) and written with the mask #0.#####.",
        "year,month,day,hour,minute,second,fraction",
    ]
    for reading in READINGS:
        local_jd = julian_day(*reading)
        text = gauge_text(lit_percent(local_jd - 1.0 / 24.0))
        lines.append(",".join(str(field) for field in reading) + "," + text)
    with open(OUTPUT, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
