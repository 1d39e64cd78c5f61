#!/usr/bin/env python3
"""Writes the test images: a 24-bit PPM and 1-, 4- and 8-bit BMPs with odd widths."""
import random
import struct
import sys


def pixel(x, y, rng):
    # Flat areas, gradients and some noise, as on a screen.
    if (x // 16 + y // 12) % 3 == 0:
        return (200, 210, 220)
    if y < 30:
        return (x * 255 // 173, y * 8, 255 - x)
    return tuple(rng.randrange(256) for _ in range(3))


def write_ppm(path, width, height):
    rng = random.Random(4)
    with open(path, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (width, height))
        for y in range(height):
            out.write(bytes(c for x in range(width) for c in pixel(x, y, rng)))


def write_bmp(path, width, height, depth):
    colours = 1 << depth
    rng = random.Random(depth)
    palette = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(colours)]
    stride = (width * depth + 31) // 32 * 4
    rows = []
    for y in range(height):
        bits = 0
        row = bytearray()
        value = 0
        for x in range(width):
            index = (x * 7 + y * 3 + (x * y) // 5) % colours
            value = (value << depth) | index
            bits += depth
            if bits == 8:
                row.append(value)
                bits = value = 0
        if bits:
            row.append(value << (8 - bits))
        rows.append(bytes(row) + bytes(stride - len(row)))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    size = offset + stride * height
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", size, 0, 0, offset))
        out.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, 0, stride * height, 0, 0, colours, 0))
        out.write(table)
        for row in reversed(rows):
            out.write(row)


if __name__ == "__main__":
    folder = sys.argv[1]
    write_ppm(f"{folder}/rgb.ppm", 173, 91)
    for depth in (1, 4, 8):
        write_bmp(f"{folder}/indexed{depth}.bmp", 61, 37, depth)
