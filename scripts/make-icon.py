#!/usr/bin/python3
"""Draws the application icon (32x32 and 16x16, 16 colours) as res/levrin.ico."""
import struct
import sys

# The standard 16-colour palette, as (blue, green, red).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, DARK_RED, DARK_GREY, RED, YELLOW, WHITE = 0, 1, 8, 9, 11, 15


def pixel(size, x, y):
    """A red map tile with a black border, a yellow L and a white path; transparent corners."""
    s = size / 32.0
    if (x < 2 * s or x >= size - 2 * s) and (y < 2 * s or y >= size - 2 * s):
        return None
    if x < 2 * s or x >= size - 2 * s or y < 2 * s or y >= size - 2 * s:
        return BLACK
    if 8 * s <= x < 13 * s and 6 * s <= y < 26 * s:
        return YELLOW
    if 8 * s <= x < 24 * s and 21 * s <= y < 26 * s:
        return YELLOW
    if abs((x - 6 * s) - (y - 4 * s) * 0.5) < 1.2 * s and x > 16 * s and y < 18 * s:
        return WHITE
    return RED if (x + y) % 2 else DARK_RED


def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        colours = [pixel(size, x, y) for x in range(size)]
        xor_rows.append(bytes(((colours[x] or 0) << 4) | (colours[x + 1] or 0)
                              for x in range(0, size, 2)))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if colours[x] is None else 0)
        row = bits.to_bytes(size // 8, 'big')
        and_rows.append(row + b'\0' * ((4 - len(row) % 4) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main(path):
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/levrin.ico')
