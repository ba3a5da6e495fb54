#!/usr/bin/env python3
"""Draws the library's default scroll-bar thumbs as 32-bit PNGs.

usage: draw_scroll_images.py HORIZONTAL.png VERTICAL.png

Each is a grey capsule with soft, anti-aliased ends on a transparent ground:
48 x 8 pixels lying down for the horizontal bar, 8 x 48 standing for the vertical.
"""
import math
import struct
import sys
import zlib

LENGTH = 48
THICKNESS = 8
GREY = (0x9A, 0x9A, 0x9A)
SAMPLES = 4  # per axis, for the edge coverage


def capsule_coverage(x, y, width, height):
    """Share of pixel (x, y) inside a capsule filling width x height."""
    radius = min(width, height) / 2.0
    inside = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES
            py = y + (sy + 0.5) / SAMPLES
            # Distance from the capsule's spine, a segment along its long axis.
            if width >= height:
                cx = min(max(px, radius), width - radius)
                cy = radius
            else:
                cx = radius
                cy = min(max(py, radius), height - radius)
            if math.hypot(px - cx, py - cy) <= radius:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def png(width, height):
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter: none
        for x in range(width):
            alpha = round(255 * capsule_coverage(x, y, width, height))
            rows.extend((*GREY, alpha))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(png(LENGTH, THICKNESS))
    with open(sys.argv[2], "wb") as out:
        out.write(png(THICKNESS, LENGTH))


if __name__ == "__main__":
    main()
