#!/usr/bin/env python3
"""Builds an update package for the tests.

Usage: make_package.py OUT.zip [--corrupt NAME] ENTRY...
ENTRY is NAME=HOST_FILE (the file's bytes, deflated) or NAME:TEXT (stored).
--corrupt NAME stores that entry uncompressed and flips one byte of its data after
the archive is written, so its CRC-32 no longer matches.
"""
import sys
import zipfile


def main():
    args = sys.argv[1:]
    out = args.pop(0)
    corrupt = None
    if args and args[0] == "--corrupt":
        corrupt = args[1]
        args = args[2:]
    with zipfile.ZipFile(out, "w") as archive:
        for entry in args:
            if "=" in entry:
                name, source = entry.split("=", 1)
                with open(source, "rb") as f:
                    data = f.read()
                method = zipfile.ZIP_STORED if name == corrupt else zipfile.ZIP_DEFLATED
            else:
                name, text = entry.split(":", 1)
                data = text.encode("utf-8")
                method = zipfile.ZIP_STORED
            archive.writestr(zipfile.ZipInfo(name, (2024, 5, 17, 12, 0, 0)), data, compress_type=method)
    if corrupt:
        with zipfile.ZipFile(out) as archive:
            info = archive.getinfo(corrupt)
        with open(out, "r+b") as f:
            f.seek(info.header_offset + 26)
            name_length = int.from_bytes(f.read(2), "little")
            extra_length = int.from_bytes(f.read(2), "little")
            middle = info.header_offset + 30 + name_length + extra_length + info.compress_size // 2
            f.seek(middle)
            byte = f.read(1)
            f.seek(middle)
            f.write(bytes([byte[0] ^ 0xFF]))


if __name__ == "__main__":
    main()
