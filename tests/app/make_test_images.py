#!/usr/bin/env python3
"""Writes the small pictures the picture-box tests show: PNG, BMP and GIF (WebP comes from cwebp).

square.*: 16x16, a centre square 4..11 of COLOUR, a transparent border (BMP: an opaque blue one),
and at (1, 1) one half-transparent red pixel (255, 0, 0, 128) in the PNG.
wide.png: 32x8, opaque, left half LEFT, right half RIGHT (shows that stretching ignores aspect).
Usage: make_test_images.py OUTPUT_DIR
"""
import os
import struct
import sys
import zlib

COLOUR = (200, 30, 40)
LEFT = (220, 40, 30)
RIGHT = (30, 60, 210)


def square_pixels():
    rows = []
    for y in range(16):
        row = []
        for x in range(16):
            if 4 <= x < 12 and 4 <= y < 12:
                row.append(COLOUR + (255,))
            elif (x, y) == (1, 1):
                row.append((255, 0, 0, 128))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def wide_pixels():
    return [[(LEFT if x < 16 else RIGHT) + (255,) for x in range(32)] for _ in range(8)]


def png(rows):
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def bmp(rows):
    """24-bit, bottom-up; transparent pixels become opaque blue."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r)) if a == 255 else bytes((255, 0, 0))
        data += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 14 + 40) + header + bytes(data)


def gif(rows):
    """Palette: 0 transparent, 1 COLOUR, 2 red. LZW of literals only, in 9-bit codes."""
    width, height = len(rows[0]), len(rows)
    palette = [(0, 0, 0), COLOUR, (255, 0, 0)] + [(0, 0, 0)] * 253
    indexes = []
    for row in rows:
        for p in row:
            indexes.append(1 if p[3] == 255 else (2 if p[3] == 128 else 0))
    min_code = 8
    clear, end = 1 << min_code, (1 << min_code) + 1
    # Each literal takes one new table entry; a clear code every 254 literals keeps the width at 9.
    codes = []
    for i, v in enumerate(indexes):
        if i % 254 == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 9
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0) +
            bytes(v for c in palette for v in c) +
            b"\x21\xF9\x04\x01\x00\x00\x00\x00" +  # graphic control: index 0 transparent
            b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0) +
            bytes((min_code,)) + blocks + b"\x00\x3B")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {"square.png": png(square_pixels()), "wide.png": png(wide_pixels()),
             "square.bmp": bmp(square_pixels()), "square.gif": gif(square_pixels())}
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
