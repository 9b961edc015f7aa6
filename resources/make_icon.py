#!/usr/bin/env python3
"""Draws Fennlow's application icon and writes it as a .ico with 32-bit images of nine sizes.

The design: a green rounded square holding a white picture card (sky, two hills, a sun): a
picture taken out of a package. Sizes below 256 are stored as 32-bit DIBs, 256 as PNG.
Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 72, 96, 128, 256)


def in_rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def sample(x, y):
    """Straight RGBA of the design at (x, y) in the unit square, or None where transparent."""
    if not in_rounded_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.2):
        return None
    t = (y - 0.04) / 0.92
    colour = (int(46 + (20 - 46) * t), int(184 + (128 - 184) * t), int(120 + (88 - 120) * t))
    if in_rounded_rect(x, y, 0.18, 0.24, 0.82, 0.78, 0.06):
        colour = (250, 250, 250)
        if 0.25 <= x <= 0.75 and 0.31 <= y <= 0.71:
            colour = (170, 220, 250)
            if (x - 0.63) ** 2 + (y - 0.42) ** 2 <= 0.065 ** 2:
                colour = (255, 196, 40)
            if in_triangle(x, y, (0.52, 0.71), (0.64, 0.53), (0.76, 0.71)):
                colour = (40, 160, 100)
            if in_triangle(x, y, (0.22, 0.71), (0.42, 0.45), (0.62, 0.71)):
                colour = (24, 120, 80)
    return colour


def render(size):
    """Rows of straight (r, g, b, a) pixels, top-down, with 4x4 supersampling."""
    n = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] * 255 // (n * n)))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(rows):
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows))
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def main():
    images = [(s, png(render(s)) if s == 256 else dib(render(s))) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
