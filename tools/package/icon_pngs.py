#!/usr/bin/env python3
"""Writes the program's own icon images as the PNG files of a desktop icon theme:
    icon_pngs.py <.ico> <theme folder> <name> <size>...
gives <theme folder>/<size>x<size>/apps/<name>.png for each size, from the .ico's image of
exactly that size (none is scaled). The PNG image in the .ico is copied as it is; the 32-bit
DIBs (bottom-up BGRA rows, then the AND mask, which their alpha makes redundant) become 8-bit
RGBA PNGs with no time stamp, so the same .ico always gives the same bytes.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'icon'))
from make_icon import png_chunk  # noqa: E402  (the one PNG chunk writer)
import zlib  # noqa: E402


def images(data):
    """{size: image bytes} of an .ico file."""
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    if kind != 1:
        sys.exit('not an icon file')
    found = {}
    for i in range(count):
        width, height, _, _, _, _, length, offset = struct.unpack_from('<BBBBHHII', data,
                                                                        6 + 16 * i)
        found[width or 256] = data[offset:offset + length]
    return found


def png_of_dib(image):
    header, width, height, _, bits = struct.unpack_from('<IiiHH', image, 0)
    if bits != 32 or height != 2 * width:
        sys.exit(f'a {bits}-bit {width}x{height // 2} image: only 32-bit images are read')
    stride = 4 * width
    pixels = image[header:header + stride * width]
    rows = b''
    for row in reversed(range(width)):  # the DIB's rows run bottom-up
        line = pixels[row * stride:(row + 1) * stride]
        rows += b'\0' + bytes(line[i + c] for i in range(0, stride, 4) for c in (2, 1, 0, 3))
    ihdr = struct.pack('>IIBBBBB', width, width, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', ihdr) +
            png_chunk(b'IDAT', zlib.compress(rows, 9)) + png_chunk(b'IEND', b''))


def main(ico, theme, name, sizes):
    with open(ico, 'rb') as f:
        held = images(f.read())
    for size in sizes:
        if size not in held:
            sys.exit(f'{ico} has no {size}x{size} image (it has {sorted(held)})')
        image = held[size]
        png = image if image.startswith(b'\x89PNG') else png_of_dib(image)
        folder = os.path.join(theme, f'{size}x{size}', 'apps')
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name + '.png'), 'wb') as f:
            f.write(png)


if __name__ == '__main__':
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], [int(s) for s in sys.argv[4:]])
