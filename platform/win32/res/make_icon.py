#!/usr/bin/env python3
"""Draws the application icon and writes vexmora.ico next to this script.

The picture is a rounded speech bubble in a strong blue with three white
lines of "text" in it.  Each size has its own hand-placed layout so the
lines sit on whole pixels; edges are anti-aliased by supersampling.

The .ico holds three 32-bit BGRA DIB images (48, 32 and 16 pixels), each
with its 1-bit AND mask, which every Windows version and windres accept.
The build uses the committed .ico; run this script only to change it:

    python3 platform/win32/res/make_icon.py [output.ico]
"""

import os
import struct
import sys

SAMPLES = 8  # supersampling grid per pixel edge (8 x 8 = 64 samples)

# Bubble colour: a vertical gradient from TOP to BOTTOM (RGB).
TOP = (0x2F, 0x8B, 0xF5)
BOTTOM = (0x12, 0x5C, 0xD0)
INK = (0xFF, 0xFF, 0xFF)

# Pixel-space layout per size.  Coordinates are pixel edges: (0, 0) is the
# top-left corner of the image, (size, size) the bottom-right one.
#   body:  rounded rectangle (x0, y0, x1, y1, corner radius)
#   tail:  triangle below the body's left part
#   lines: bars (x0, y0, x1, y1) with half-round ends
LAYOUTS = {
    48: {
        "body": (2, 3, 46, 34, 9),
        "tail": ((9, 31), (21, 31), (6, 45)),
        "lines": ((12, 11, 36, 14), (12, 17, 36, 20), (12, 23, 29, 26)),
    },
    32: {
        "body": (1, 2, 31, 23, 6),
        "tail": ((6, 21), (14, 21), (4, 30)),
        "lines": ((8, 7, 24, 9), (8, 11, 24, 13), (8, 15, 19, 17)),
    },
    16: {
        "body": (0, 1, 16, 12, 3.5),
        "tail": ((3, 11), (8, 11), (2, 15)),
        "lines": ((4, 4, 12, 5), (4, 6, 12, 7), (4, 8, 10, 9)),
    },
}

ORDER = (48, 32, 16)  # largest first, as Windows tools write them


def in_rounded_rect(x, y, rect):
    x0, y0, x1, y1, r = rect
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, tri):
    (ax, ay), (bx, by), (cx, cy) = tri

    def side(px, py, qx, qy):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    d1 = side(ax, ay, bx, by)
    d2 = side(bx, by, cx, cy)
    d3 = side(cx, cy, ax, ay)
    return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)


def in_bar(x, y, bar):
    x0, y0, x1, y1 = bar
    r = (y1 - y0) / 2.0
    return in_rounded_rect(x, y, (x0, y0, x1, y1, r))


def render(size):
    """Returns rows (top first) of (r, g, b, a) tuples, straight alpha."""
    lay = LAYOUTS[size]
    step = 1.0 / SAMPLES
    total = SAMPLES * SAMPLES
    rows = []
    for py in range(size):
        t = (py + 0.5) / size
        base = tuple(TOP[i] + (BOTTOM[i] - TOP[i]) * t for i in range(3))
        row = []
        for px in range(size):
            shape = ink = 0
            for sy in range(SAMPLES):
                y = py + (sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) * step
                    if in_rounded_rect(x, y, lay["body"]) or in_triangle(x, y, lay["tail"]):
                        shape += 1
                        if any(in_bar(x, y, b) for b in lay["lines"]):
                            ink += 1
            if shape == 0:
                row.append((0, 0, 0, 0))
                continue
            k = ink / shape
            rgb = tuple(int(round(base[i] + (INK[i] - base[i]) * k)) for i in range(3))
            row.append(rgb + (int(round(255 * shape / total)),))
        rows.append(row)
    return rows


def dib(size, rows):
    """BITMAPINFOHEADER + bottom-up BGRA pixels + bottom-up AND mask."""
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:  # transparent where the old 1-bit path draws nothing
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        size,  # biWidth
        size * 2,  # biHeight: XOR image plus AND mask
        1,  # biPlanes
        32,  # biBitCount
        0,  # biCompression = BI_RGB
        len(xor) + len(mask),  # biSizeImage
        0, 0, 0, 0,
    )
    return header + bytes(xor) + bytes(mask)


def build_ico():
    images = [(size, dib(size, render(size))) for size in ORDER]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    path = argv[1] if len(argv) > 1 else os.path.join(here, "vexmora.ico")
    data = build_ico()
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


if __name__ == "__main__":
    main(sys.argv)
