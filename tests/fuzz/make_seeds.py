#!/usr/bin/env python3
"""Writes the seed inputs of the two fuzz targets that read their input through libFuzzer's
FuzzedDataProvider (number_texts, date_texts) into corpus/<target>/. The provider takes numbers
from the end of the input (first byte taken = most significant) and the remaining bytes from the
front, so each seed is built back to front. Run it from anywhere; it replaces the seed_* files.

The other targets' seeds are plain texts and argument lists, written by hand."""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent


class Seed:
    def __init__(self):
        self.taken = bytearray()  # in the order the provider takes them

    def integral(self, value, low, high):
        """ConsumeIntegralInRange(low, high) giving `value`."""
        span = high - low
        count = 0
        while count < 8 and (span >> (8 * count)) > 0:
            count += 1
        self.taken += (value - low).to_bytes(count, "big")
        return self

    def raw_double(self, value):
        self.taken += struct.pack(">d", value)
        return self

    def build(self, front=b""):
        return bytes(front) + bytes(reversed(self.taken))


def number_texts_value(seed, value):
    if isinstance(value, tuple):  # (units, places): a decimal
        units, places = value
        seed.integral(0, 0, 255)  # ConsumeBool: false
        seed.integral(units, -10**15, 10**15)
        seed.integral(places, 0, 12)
    else:
        seed.integral(1, 0, 255)  # ConsumeBool: true
        seed.raw_double(value)


def date_texts_value(seed, value):
    if isinstance(value, tuple):  # (whole day number, second of the day)
        day, second = value
        seed.integral(1, 0, 2)
        seed.integral(day, -110000000000, 110000000000)
        seed.integral(second, -1, 86400)
    else:
        seed.integral(0, 0, 2)
        seed.raw_double(value)


INT32 = (-(2**31), 2**31 - 1)


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed_*"):
        old.unlink()
    for name, data in seeds.items():
        (folder / f"seed_{name}").write_bytes(data)


def number_texts():
    cases = {
        # name: (value, duration, mask)
        "clock_field": ((7, 0), (2750, 3), b"00"),
        "day_point": ((5, 0), (999999, 6), b"00."),
        "year": ((800, 0), (0, 0), b"0000"),
        "year_five_digits": ((12025, 0), (1, 0), b"0000"),
        "blank_two": ((5, 0), (15, 1), b"* "),
        "blank_two_zero": ((0, 0), (5, 1), b"* "),
        "blank_three": ((12, 0), (1, 0), b"* #"),
        "fraction_half": ((5, 1), (0, 0), b"#0.#####"),
        "fraction_hundred": ((100, 0), (0, 0), b"#0.#####"),
        "fraction_tie": ((4512345, 5), (0, 0), b"#0.#####"),
        "tie_even": ((2500005, 6), (0, 0), b"0.00000"),
        "negative_fill": ((-5, 0), (0, 0), b"* #"),
        "negative_rounds_to_zero": ((-4, 1), (0, 0), b"#"),
        "literals": ((-1234567, 2), (0, 0), b"(*x#.##) Uhr"),
        "star_after_point": ((314159, 5), (0, 0), b"0.*-0"),
        "nan": (float("nan"), float("inf"), b"00"),
        "huge": (1.7976931348623157e308, 1e300, b"#0.0"),
        "tiny": (5e-324, 0.9999999999999999, b"0.####################"),
        "negative_zero": (-0.0, -0.0, b"* "),
    }
    seeds = {}
    for name, (value, duration, mask) in cases.items():
        seed = Seed()
        number_texts_value(seed, value)
        number_texts_value(seed, duration)
        seeds[name] = seed.build(mask)
    write("number_texts", seeds)


def date_texts():
    # Day numbers: 1970-01-01 00:00 is 2440587.0.
    cases = {
        # name: (day number, (year, which, month, day), now)
        "gregorian_switch": ((2299160, 0), (1582, 0, 10, 15), (2299159, 86399)),
        "year_one": ((1721423, 0), (1, 1, 1, 1), (1721422, 86399)),
        "before_year_one": ((1721422, 86399), (0, 2, 2, 29), (1721423, 43200)),
        "unix_epoch": ((2440587, 43200), (1970, 0, 1, 1), (2440586, 43200)),
        "summer_1995": ((2449984, 3600), (1995, 2, 9, 24), (2449983, 3600)),
        "summer_1996": ((2450383, 82800), (1996, 2, 10, 27), (2450382, 0)),
        "summer_2024": ((2460400, 0), (2024, 0, 3, 31), (2460399, 86400)),
        "last_second": ((2444328, 86399), (1980, 0, 3, 30), (2444328, -1)),
        "year_30827": ((12980910, 600), (30827, 1, 12, 31), (12980000, 0)),
        "limit": (1e11, (2**31 - 1, 2, 13, 0), -1e11),
        "beyond_limit": (1.0000000000000002e11, (-(2**31), -1, -(2**31), 2**31 - 1), 5e-324),
        "negative": ((-1000000000, 7), (-4713, 3, 2, 29), (0, 0)),
        "nan": (float("nan"), (2100, 1, 2, 29), float("inf")),
    }
    seeds = {}
    for name, (x, (year, which, month, day), now) in cases.items():
        seed = Seed()
        date_texts_value(seed, x)
        for value in (year, which, month, day):
            seed.integral(value, *INT32)
        date_texts_value(seed, now)
        seeds[name] = seed.build()
    write("date_texts", seeds)


if __name__ == "__main__":
    number_texts()
    date_texts()
