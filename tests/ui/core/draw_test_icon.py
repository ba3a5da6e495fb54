#!/usr/bin/env python3
"""Writes an icon file with a 32 x 32 red image and a 16 x 16 blue one.

usage: draw_test_icon.py OUT.ico
"""
import struct
import sys


def image(size, bgra):
    # Bitmap header with doubled height (colour rows, then the AND mask), bottom-up.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytes(bgra) * (size * size)
    mask_row = (size + 31) // 32 * 4
    return header + colour + bytes(mask_row * size)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [(32, image(32, (0, 0, 255, 255))), (16, image(16, (255, 0, 0, 255)))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
