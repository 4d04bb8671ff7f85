#!/usr/bin/env python3
"""Writes resources/veltrum.ico: the module's icon, a small bar chart on a white card, in 32x32
and 16x16 with 16 colours (the classic icon format every Windows version reads).

    python3 src/win32/make_icon.py resources/veltrum.ico
"""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
    (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255), (255, 0, 0),
    (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, RED, GREEN, WHITE = 0, 4, 8, 9, 10, 15  # indices (palette is B, G, R)


def picture(size):
    """Rows top to bottom of palette indices; None is transparent."""
    s = size / 32.0
    px = [[None] * size for _ in range(size)]
    # The card with a black frame.
    for y in range(int(2 * s), size - int(2 * s)):
        for x in range(int(2 * s), size - int(2 * s)):
            edge = y in (int(2 * s), size - int(2 * s) - 1) or x in (int(2 * s), size - int(2 * s) - 1)
            px[y][x] = BLACK if edge else WHITE
    # The axes.
    base = size - int(6 * s)
    for x in range(int(5 * s), size - int(5 * s)):
        px[base][x] = BLACK
    for y in range(int(5 * s), base + 1):
        px[y][int(5 * s)] = BLACK
    # Three bars of different heights.
    bars = [(8, 14, 20, DARK_BLUE), (15, 21, 12, RED), (22, 27, 17, GREEN)]
    for x0, x1, height, colour in bars:
        for y in range(base - int(height * s), base):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                px[y][x] = colour
    return px


def image(size):
    px = picture(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in PALETTE)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(px):  # bottom-up
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, v in enumerate(row):
            index = 0 if v is None else v
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if v is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def main(path):
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/veltrum.ico")
