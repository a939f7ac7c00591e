#!/usr/bin/env python3
"""Writes zolspar.ico: a 32x32, 16-colour (4 bits per pixel) icon of a
magenta die on a purple ground. Run it again only to change the picture."""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
    (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255), (255, 0, 0),
    (255, 0, 255), (255, 255, 0), (255, 255, 255),
]  # as (R, G, B)
BLACK, PURPLE, MAGENTA, WHITE = 0, 5, 13, 15


def pixel(x, y):
    # Rounded purple tile, a magenta die with a black outline and white pips.
    if (x in (0, 31) and y in (0, 1, 30, 31)) or (y in (0, 31) and x in (0, 1, 30, 31)):
        return None  # transparent corners
    if 5 <= x <= 26 and 5 <= y <= 26:
        if x in (5, 26) or y in (5, 26):
            return BLACK
        for cx, cy in ((10, 10), (16, 16), (21, 21), (21, 10), (10, 21)):
            if (x - cx) ** 2 + (y - cy) ** 2 <= 4:
                return WHITE
        return MAGENTA
    return PURPLE


def main(path):
    xor = bytearray()
    mask = bytearray()
    for y in range(31, -1, -1):  # bottom-up rows
        row = [pixel(x, y) for x in range(32)]
        for x in range(0, 32, 2):
            a, b = row[x] or 0, row[x + 1] or 0
            xor.append((a << 4) | b)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += bits.to_bytes(4, "big")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "zolspar.ico")
