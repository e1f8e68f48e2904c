#!/usr/bin/env python3
"""Draws the program's moon icon into an .ico file: 32-bit images with alpha, one for each size
Windows asks for at the usual display scales (the small icon 16 to 32 pixels, the taskbar's 24,
30 and 36, the big icon 32 to 64, and 256 for Explorer's large views).

A night-blue disc with a waxing crescent: the lit part is the disc minus a shifted circle,
antialiased by 4 x 4 supersampling. Every size is drawn on its own pixel grid, none is scaled
from another. The 256-pixel image is stored PNG-compressed (as Windows Vista and later read
it), the others as uncompressed DIBs. Run once; the .ico is committed.
    tools/icon/make_icon.py app/resources/lunavista.ico
"""
import struct
import sys
import zlib

SIZES = [16, 20, 24, 30, 32, 36, 40, 48, 64, 256]
PNG_SIZE = 256

NIGHT = (0, 0, 96)
MOON = (255, 236, 96)
SHADE = (60, 70, 120)


def coverage(size, inside):
    """Fraction of each pixel's 4 x 4 subsamples for which inside(x, y) holds (0..1 coords)."""
    grid = []
    for row in range(size):
        line = []
        for col in range(size):
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    x = (col + (sx + 0.5) / 4) / size
                    y = (row + (sy + 0.5) / 4) / size
                    hits += inside(x, y)
            line.append(hits / 16)
        grid.append(line)
    return grid


def in_circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def render(size):
    sky = coverage(size, in_circle(0.5, 0.5, 0.5))
    moon_disc = in_circle(0.5, 0.5, 0.34)
    shadow = in_circle(0.30, 0.5, 0.30)  # the unlit part of a waxing crescent
    lit = coverage(size, lambda x, y: moon_disc(x, y) and not shadow(x, y))
    dark = coverage(size, lambda x, y: moon_disc(x, y) and shadow(x, y))
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            a = sky[row][col]
            l, d = lit[row][col], dark[row][col]
            rest = max(0.0, 1.0 - l - d)
            rgb = tuple(round(MOON[i] * l + SHADE[i] * d + NIGHT[i] * rest) for i in range(3))
            line.append(rgb + (round(255 * a),))
        pixels.append(line)
    return pixels


def icon_image(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for line in reversed(pixels) for (r, g, b, a) in line)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b''
    for line in reversed(pixels):
        row = bytearray(mask_row)
        for col, (_, _, _, a) in enumerate(line):
            if a == 0:
                row[col // 8] |= 0x80 >> (col % 8)
        and_mask += bytes(row)
    return header + xor + and_mask


def png_chunk(kind, data):
    return (struct.pack('>I', len(data)) + kind + data +
            struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_image(size):
    """The image as a PNG: 8-bit RGBA, no filter, compressed at the highest level."""
    rows = b''.join(b'\0' + bytes(v for pixel in line for v in pixel) for line in render(size))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) +
            png_chunk(b'IDAT', zlib.compress(rows, 9)) + png_chunk(b'IEND', b''))


def main(path):
    sizes = SIZES
    images = [png_image(s) if s == PNG_SIZE else icon_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        # The directory's width and height bytes say 0 for 256.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'lunavista.ico')
