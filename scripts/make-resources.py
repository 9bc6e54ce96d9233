#!/usr/bin/env python3
"""Writes the program's picture resources: res/bright.bmp (the 16 x 9 arrow
strip of the hide and menu buttons) and res/mainicon.ico (32 x 32, 16 colours).
Run it after changing a picture; the results are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "res")

BRIGHT_ROWS = [
    ".K....K....K....",
    "KWK..KWK..KWK...",
    "KWWK.KWWK.KWWK..",
    "KWWWKKWWWKKWWWK.",
    "KWWWWKWWWWKWWWWK",
    "KWWWKKWWWKKWWWK.",
    "KWWK.KWWK.KWWK..",
    "KWK..KWK..KWK...",
    ".K....K....K....",
]
BRIGHT_COLOURS = {".": (32, 32, 0), "K": (0, 0, 0), "W": (255, 255, 255)}  # RGB


def bmp24(rows):
    w, h = len(rows[0]), len(rows)
    stride = (w * 24 + 31) // 32 * 4
    pixels = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    return head + info + pixels


# The 16-colour palette of the icon (RGB).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def icon_pixels():
    """A slim vertical panel at the left with three coloured tiles on it."""
    size = 32
    img = [[None] * size for _ in range(size)]  # None = transparent
    for y in range(1, 31):
        for x in range(6, 26):
            edge = x in (6, 25) or y in (1, 30)
            img[y][x] = 8 if edge else 7
    tiles = [(4, 9), (12, 12), (20, 10)]  # top, colour index
    for top, colour in tiles:
        for y in range(top, top + 7):
            for x in range(9, 23):
                frame = x in (9, 22) or y in (top, top + 6)
                img[y][x] = 0 if frame else colour
        for x in range(10, 22):
            img[top + 1][x] = 15  # highlight
    return img


def ico16(img):
    size = len(img)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor = b""
    mask = b""
    for row in reversed(img):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            value = 0 if c is None else c
            line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(line)
        mask += bytes(bits)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + pal + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    rows = [[BRIGHT_COLOURS[c] for c in line] for line in BRIGHT_ROWS]
    with open(os.path.join(RES, "bright.bmp"), "wb") as f:
        f.write(bmp24(rows))
    with open(os.path.join(RES, "mainicon.ico"), "wb") as f:
        f.write(ico16(icon_pixels()))


if __name__ == "__main__":
    main()
