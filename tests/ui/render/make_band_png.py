#!/usr/bin/env python3
"""Writes an RGBA PNG of WIDTH x HEIGHT made of vertical bands of equal width,
one per colour given as RRGGBBAA, for resources that the tests load.

    make_band_png.py OUT WIDTH HEIGHT COLOUR [COLOUR ...]
"""
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    out, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    colours = [bytes.fromhex(c) for c in sys.argv[4:]]
    band = width // len(colours)
    row = b"".join(colours[min(x // band, len(colours) - 1)] for x in range(width))
    raw = b"".join(b"\x00" + row for _ in range(height))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw))
    png += chunk(b"IEND", b"")
    with open(out, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
