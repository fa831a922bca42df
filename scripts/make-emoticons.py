#!/usr/bin/env python3
"""Draws the emoticon images of data/emoticons/ as small GIF files.

Plain Python, no third-party modules. Each face is 19x19 pixels with a
transparent background (GIF89a, 16-colour palette), so any HTML engine,
however old, shows it. Run from anywhere: python3 scripts/make-emoticons.py
"""

import os
import struct

SIZE = 19
CENTER = (SIZE - 1) / 2

# Palette: index 0 is transparent.
PALETTE = [
    (255, 255, 255),  # 0 transparent background
    (40, 30, 10),     # 1 outline, eyes, mouth
    (255, 214, 51),   # 2 face
    (214, 150, 20),   # 3 face shadow
    (220, 60, 60),    # 4 tongue
    (255, 255, 255),  # 5 white (teeth)
    (20, 20, 20),     # 6 sunglasses
]
PALETTE += [(0, 0, 0)] * (16 - len(PALETTE))


def blank_face():
    pixels = [[0] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x - CENTER) ** 2 + (y - CENTER) ** 2) ** 0.5
            if d <= 8.6:
                pixels[y][x] = 1
            if d <= 7.6:
                pixels[y][x] = 3 if (x - CENTER) + (y - CENTER) > 7 else 2
    return pixels


def put(pixels, points, colour=1):
    for x, y in points:
        pixels[y][x] = colour


def eyes(pixels, wink=False):
    put(pixels, [(6, 6), (6, 7)])
    if wink:
        put(pixels, [(11, 7), (12, 7), (13, 7)])
    else:
        put(pixels, [(12, 6), (12, 7)])


def smile_mouth(pixels):
    put(pixels, [(5, 11), (6, 12), (7, 13), (8, 13), (9, 13), (10, 13), (11, 13), (12, 12), (13, 11)])


def face(kind):
    p = blank_face()
    if kind == "cool":
        put(p, [(x, 6) for x in range(4, 15)], 6)
        put(p, [(x, 7) for x in list(range(4, 9)) + list(range(10, 15))], 6)
        put(p, [(x, 8) for x in list(range(5, 8)) + list(range(11, 14))], 6)
        smile_mouth(p)
        return p
    if kind == "surprised":
        put(p, [(6, 5), (6, 6), (6, 7), (12, 5), (12, 6), (12, 7)])
        put(p, [(8, 11), (9, 11), (10, 11), (7, 12), (11, 12), (7, 13), (11, 13), (8, 14), (9, 14), (10, 14)])
        return p
    eyes(p, wink=(kind == "wink"))
    if kind in ("smile", "wink"):
        smile_mouth(p)
    elif kind == "sad":
        put(p, [(5, 14), (6, 13), (7, 12), (8, 12), (9, 12), (10, 12), (11, 12), (12, 13), (13, 14)])
    elif kind == "grin":
        put(p, [(x, 10) for x in range(5, 14)])
        put(p, [(x, 11) for x in range(6, 13)], 5)
        put(p, [(5, 11), (13, 11), (6, 12), (12, 12), (7, 13), (8, 13), (9, 13), (10, 13), (11, 13)])
        put(p, [(x, 12) for x in range(7, 12)], 5)
    elif kind == "tongue":
        put(p, [(x, 11) for x in range(5, 14)])
        put(p, [(9, 12), (10, 12), (11, 12), (9, 13), (10, 13), (11, 13), (10, 14)], 4)
    elif kind == "neutral":
        put(p, [(x, 12) for x in range(6, 13)])
    return p


def lzw_uncompressed(indices, min_code_size=4):
    """LZW data that a decoder reads as plain codes: a clear code comes
    before the code table would grow past the initial code width."""
    clear = 1 << min_code_size
    end = clear + 1
    width = min_code_size + 1
    codes = []
    run = 0
    for index in indices:
        if run == 0:
            codes.append(clear)
        codes.append(index)
        run = (run + 1) % 12
    codes.append(end)
    out = bytearray()
    acc = 0
    bits = 0
    for code in codes:
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(pixels):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", SIZE, SIZE, 0xF3, 0, 0)  # global table of 16 colours
    for r, g, b in PALETTE:
        data += bytes((r, g, b))
    data += b"\x21\xF9\x04\x01\x00\x00\x00\x00"  # transparency: index 0
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    data += b"\x04"  # minimum code size
    stream = lzw_uncompressed([i for row in pixels for i in row])
    for start in range(0, len(stream), 255):
        block = stream[start:start + 255]
        data += bytes((len(block),)) + block
    data += b"\x00\x3B"
    return bytes(data)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "emoticons")
    os.makedirs(folder, exist_ok=True)
    for kind in ("smile", "wink", "sad", "grin", "tongue", "surprised", "neutral", "cool"):
        with open(os.path.join(folder, kind + ".gif"), "wb") as f:
            f.write(gif(face(kind)))


if __name__ == "__main__":
    main()
