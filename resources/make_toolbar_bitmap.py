#!/usr/bin/env python3
"""Writes Toolbar.bmp, the picture of the plug-in's toolbar button (resource 102).

A 20 by 20 pixel, 16-colour device-independent bitmap: a light grey ground two pixels wide on
every side, a white frame one pixel wide around a blue square of 14 by 14 pixels, and on the
square, inside a blue margin of one pixel, a "V" drawn in white with a light grey shade. The file
is the 344-byte bitmap behind the usual 14-byte file header, which the resource compiler strips.
"""
import struct
import sys

GREY, WHITE, BLUE = 7, 15, 12

# The glyph, 12 by 12, top row first: W white, g light grey, . the blue of the square.
GLYPH = [
    "WW........WW",
    "WWg......WWg",
    ".WW......WW.",
    ".WWg....WWg.",
    "..WW....WW..",
    "..WWg..WWg..",
    "...WW..WW...",
    "...WWgWWg...",
    "....WWWW....",
    "....WWWg....",
    ".....WW.....",
    ".....Wg.....",
]

# Blue, green, red for each palette entry; the dark colours use BF.
PALETTE = [
    (0x00, 0x00, 0x00), (0xBF, 0x00, 0x00), (0x00, 0xBF, 0x00), (0xBF, 0xBF, 0x00),
    (0x00, 0x00, 0xBF), (0xBF, 0x00, 0xBF), (0x00, 0xBF, 0xBF), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def pixel(x, y):
    """Colour of the pixel at column x, row y counted from the top."""
    edge = min(x, y, 19 - x, 19 - y)
    if edge < 2:
        return GREY
    if edge == 2:
        return WHITE
    if 4 <= x <= 15 and 4 <= y <= 15:
        return {"W": WHITE, "g": GREY, ".": BLUE}[GLYPH[y - 4][x - 4]]
    return BLUE


def bitmap():
    header = struct.pack("<IiiHHIIiiII", 40, 20, 20, 1, 4, 0, 240, 0, 0, 16, 16)
    palette = b"".join(bytes((r, g, b, 0)) for (r, g, b) in
                       ((rgb[2], rgb[1], rgb[0]) for rgb in PALETTE))
    rows = []
    for y in reversed(range(20)):  # bottom row first
        row = bytes((pixel(x, y) << 4) | pixel(x + 1, y) for x in range(0, 20, 2))
        rows.append(row + b"\0\0")
    data = header + palette + b"".join(rows)
    assert len(data) == 344
    return data


def main():
    data = bitmap()
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(data), 0, 0, 14 + 40 + 64)
    out = sys.argv[1] if len(sys.argv) > 1 else "Toolbar.bmp"
    with open(out, "wb") as f:
        f.write(file_header + data)


if __name__ == "__main__":
    main()
