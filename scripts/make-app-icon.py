#!/usr/bin/env python3
"""Writes res/mainicon.ico, the program's icon, from res/mainicon.svg: one
32-bit image with alpha at each of 16, 20, 24, 32, 40, 48, 64 and 256 pixels.

The drawing is rectangles in a 32-unit square. Each size puts every edge on
a whole pixel, as near its scaled place as it can while edges that differ in
the drawing stay at least one pixel apart, so the one-unit frames stay sharp
lines at every size instead of smearing into half-covered pixels or
vanishing. A rectangle marked data-min-size is left out of smaller images
(there is no room for it). The 256-pixel image is stored as PNG, the others as the classic
bitmap with its AND mask, which every Windows reads. Run it after changing
the drawing; the result is committed, so the build does not need it."""
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "res")
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
UNITS = 32


def read_rects(path):
    """(x, y, width, height, (r, g, b), min_size) in drawing order."""
    rects = []
    for element in ET.parse(path).getroot().iter():
        if element.tag.split("}")[-1] != "rect":
            continue
        x, y, w, h = (float(element.get(k)) for k in ("x", "y", "width", "height"))
        fill = element.get("fill").lstrip("#")
        colour = tuple(int(fill[i:i + 2], 16) for i in (0, 2, 4))
        rects.append((x, y, w, h, colour, int(element.get("data-min-size", "0"))))
    if not rects:
        sys.exit("no rectangles in " + path)
    return rects


def pixel_edges(coords, size):
    """Each distinct drawing coordinate to a pixel edge: the nearest to its
    scaled place, pushed apart so that no two share a pixel edge."""
    coords = sorted(set(coords))
    if len(coords) > size + 1:
        sys.exit("%d edges do not fit %d pixels" % (len(coords), size))
    edges = []
    for c in coords:
        edge = int(c * size / UNITS + 0.5)
        edges.append(max(edge, edges[-1] + 1) if edges else max(edge, 0))
    edges[-1] = min(edges[-1], size)
    for i in range(len(edges) - 2, -1, -1):
        edges[i] = min(edges[i], edges[i + 1] - 1)
    return dict(zip(coords, edges))


def render(rects, size):
    """Rows of (r, g, b, a), top row first."""
    rects = [r for r in rects if size >= r[5]]
    across = pixel_edges([v for x, _, w, _, _, _ in rects for v in (x, x + w)], size)
    down = pixel_edges([v for _, y, _, h, _, _ in rects for v in (y, y + h)], size)
    img = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for x, y, w, h, (r, g, b), _ in rects:
        x0, x1 = across[x], across[x + w]
        y0, y1 = down[y], down[y + h]
        for row in range(max(y0, 0), min(y1, size)):
            for col in range(max(x0, 0), min(x1, size)):
                img[row][col] = (r, g, b, 255)
    return img


def bitmap_image(img):
    size = len(img)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(img) for (r, g, b, a) in row)
    and_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(and_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def png_image(img):
    size = len(img)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(images):
    """images: (size, bytes) pairs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    rects = read_rects(os.path.join(RES, "mainicon.svg"))
    images = []
    for size in SIZES:
        img = render(rects, size)
        images.append((size, png_image(img) if size >= 256 else bitmap_image(img)))
    with open(os.path.join(RES, "mainicon.ico"), "wb") as f:
        f.write(ico(images))


if __name__ == "__main__":
    main()
