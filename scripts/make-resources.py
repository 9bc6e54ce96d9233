#!/usr/bin/env python3
"""Writes res/bright.bmp, the 16 x 9 arrow strip of the hide and menu
buttons (the program's icon is scripts/make-app-icon.py's). Run it after
changing the picture; the result is committed."""
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


def main():
    rows = [[BRIGHT_COLOURS[c] for c in line] for line in BRIGHT_ROWS]
    with open(os.path.join(RES, "bright.bmp"), "wb") as f:
        f.write(bmp24(rows))


if __name__ == "__main__":
    main()
