#!/usr/bin/env python3
"""Draws Nimbrel's three icons and writes them as .ico files into src/ui/res/.

  nimbrel.ico           resource 128: the normal tray icon
  nimbrel-disabled.ico  resource 145: tray icon while disabled
  nimbrel-big.ico       resource 142: window icon and picture

Each holds images of 16, 20, 24, 32 and 48 pixels, so that Windows finds the
size it needs at 100 % to 200 % scaling (small icons of 16 to 32 pixels, big
ones of 32 to 64) without stretching a smaller one. The tray icons' 16-pixel
image is drawn by hand in the 16 standard colours; every other image is the
true-colour letter drawn at its size.

The picture is a letter with three quoted paragraphs, each marked by a bar in
the colour of its quote level. Plain Python, no third-party modules; the output
is the same on every run, so the committed files can be checked with --check.
"""

import struct
import sys
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "src" / "ui" / "res"

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# 16 x 16 drawing: "." is transparent, the other letters name palette entries.
SMALL = [
    "................",
    ".KKKKKKKKK......",
    ".KWWWWWWWKK.....",
    ".KWWWWWWWKSK....",
    ".KWWWWWWWKSSK...",
    ".KWWWWWWWKKKKK..",
    ".KWWWWWWWWWWWK..",
    ".KWBWTTTTTTTWK..",
    ".KWBWWWWWWWWWK..",
    ".KWWWWWWWWWWWK..",
    ".KWGWTTTTTTWWK..",
    ".KWGWWWWWWWWWK..",
    ".KWWWWWWWWWWWK..",
    ".KWRWTTTTTTTWK..",
    ".KWRWWWWWWWWWK..",
    ".KKKKKKKKKKKKK..",
]

NORMAL_COLOURS = {"K": 4, "W": 15, "S": 7, "B": 12, "G": 2, "R": 9, "T": 8}
DISABLED_COLOURS = {"K": 8, "W": 15, "S": 7, "B": 8, "G": 8, "R": 8, "T": 7}


def small_pixels(colours):
    return [[None if c == "." else colours[c] for c in row] for row in SMALL]


SIZES = (16, 20, 24, 32, 48)


def grey(colour):
    r, g, b = colour
    v = (r * 30 + g * 59 + b * 11) // 100
    return (v, v, v)


def letter_pixels(size, disabled=False):
    """The true-colour letter, drawn from rectangles laid out on a 32-pixel
    grid and scaled to `size`; in greys when `disabled`."""
    px = [[None] * size for _ in range(size)]

    def at(v):  # a coordinate of the 32-pixel grid at this size
        return min(size - 1, v * size // 32)

    def tone(colour):
        return grey(colour) if disabled else colour

    outline = tone((0x1F, 0x3A, 0x66))
    left, top, right, bottom, fold = at(3), at(1), at(27), at(30), max(2, at(7))

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    for y in range(top, bottom + 1):
        # Paper with a faint vertical shade, cut at the folded corner.
        shade = 255 - (y - top) * 24 // max(1, bottom - top)
        x_end = right if y >= top + fold else right - fold + (y - top)
        for x in range(left, x_end + 1):
            px[y][x] = tone((shade, shade, min(255, shade + 6)))
        px[y][left] = outline
        px[y][x_end] = outline
    fill(left, top, right - fold, top, outline)
    fill(left, bottom, right, bottom, outline)
    # The folded corner: a triangle in a darker paper tone with its edges.
    for i in range(fold + 1):
        y = top + i
        for x in range(right - fold, right - fold + i + 1):
            px[y][x] = tone((0xC8, 0xD0, 0xDC))
        px[y][right - fold] = outline
        px[y][right - fold + i] = outline
    fill(right - fold, top + fold, right, top + fold, outline)

    text = tone((0x8C, 0x8C, 0x96))
    quotes = [((0x20, 0x60, 0xC8), 8, [14, 11]),
              ((0x2E, 0x9A, 0x3C), 15, [13, 9]),
              ((0xC8, 0x30, 0x30), 22, [12, 14])]
    bar = max(1, size // 16)   # bar width and line thickness
    for colour, y0, lengths in quotes:
        y = at(y0)
        fill(at(6), y, at(6) + bar, y + max(2, at(4)), tone(colour))
        for i, length in enumerate(lengths):
            ly = at(y0 + 1 + 2 * i) + (1 if size < 32 and i else 0)
            fill(at(10), ly, at(9 + length), ly + bar - 1, text)
    return px


def bitmap(pixels, bpp):
    """One image of an icon: its header, palette, colours and mask."""
    height = len(pixels)
    width = len(pixels[0])
    xor_row = (width * bpp + 31) // 32 * 4
    and_row = (width + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        bits = bytearray(xor_row)
        andbits = bytearray(and_row)
        for x, p in enumerate(row):
            if p is None:
                andbits[x // 8] |= 0x80 >> (x % 8)
                p = 0 if bpp == 4 else (0, 0, 0)
            if bpp == 4:
                bits[x // 2] |= p << (4 if x % 2 == 0 else 0)
            else:
                r, g, b = p
                bits[3 * x:3 * x + 3] = bytes((b, g, r))
        xor += bits
        mask += andbits
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE) if bpp == 4 else b""
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + palette + bytes(xor) + bytes(mask)


def ico(images):
    """An .ico file of (pixels, bits per pixel) images, smallest first."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for pixels, bpp in images:
        image = bitmap(pixels, bpp)
        size = len(pixels)
        colours = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bpp, len(image), offset)
        offset += len(image)
        data += image
    return directory + entries + data


def icons():
    def tray(colours, disabled):
        return ico([(small_pixels(colours), 4)] +
                   [(letter_pixels(size, disabled), 24) for size in SIZES[1:]])

    return {
        "nimbrel.ico": tray(NORMAL_COLOURS, False),
        "nimbrel-disabled.ico": tray(DISABLED_COLOURS, True),
        "nimbrel-big.ico": ico([(letter_pixels(size), 24) for size in SIZES]),
    }


def main():
    check = sys.argv[1:] == ["--check"]
    stale = []
    for name, data in icons().items():
        path = OUT / name
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            OUT.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    if stale:
        print("make-icons: out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
