#!/usr/bin/env python3
"""Draws the application icon, a baseball, as PNG files of the given sizes.

    tools/draw-icon.py OUT_DIR SIZE...      writes OUT_DIR/tovarin-SIZE.png

Drawn rather than scaled from the 64 px icon, so the large sizes of the desktop's icon theme stay
sharp. Plain Python (zlib only): the PNGs are committed and nothing in the build runs this.
"""
import math
import struct
import sys
import zlib

SAMPLES = 4  # per pixel edge, for smooth edges


def colour_at(x, y):
    """The colour (r, g, b, a) at (x, y) of the unit picture, ball centred at (0.5, 0.5)."""
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    radius, rim = 0.46, 0.025
    if r > radius:
        return (0, 0, 0, 0)
    if r > radius - rim:
        return (96, 96, 96, 255)
    # The seams: arcs of two circles whose centres lie outside the ball, left and right.
    for side in (-1, 1):
        cx = 0.5 + side * 0.62
        seam = math.hypot(x - cx, y - 0.5)
        along = math.atan2(y - 0.5, (x - cx) * -side)
        seam_radius = 0.42
        if abs(seam - seam_radius) < 0.012:
            return (200, 30, 40, 255)
        # Stitches: short strokes across the seam, at even steps of its angle.
        step = 0.13
        phase = (along / step) % 1.0
        if abs(seam - seam_radius) < 0.045 and (phase < 0.22 or phase > 0.78):
            # slanted like a baseball's V stitches
            slant = (seam - seam_radius) * (1 if along > 0 else -1)
            if abs((phase if phase < 0.5 else phase - 1.0) * step * seam_radius - slant * 0.5) < 0.01:
                return (200, 30, 40, 255)
    shade = int(255 - 45 * (r / radius) ** 3)
    return (shade, shade, int(shade * 0.97), 255)


def draw(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter: none
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    for i in range(3):
                        total[i] += c[i] * c[3]
                    total[3] += c[3]
            alpha = total[3] / SAMPLES ** 2
            if total[3]:
                row += bytes(round(total[i] / total[3]) for i in range(3))
            else:
                row += b"\0\0\0"
            row.append(round(alpha))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1]
    for size in map(int, sys.argv[2:]):
        with open(f"{out}/tovarin-{size}.png", "wb") as f:
            f.write(png(size, draw(size)))


if __name__ == "__main__":
    main()
