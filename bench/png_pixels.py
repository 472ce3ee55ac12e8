#!/usr/bin/env python3
"""Checks a PNG we wrote with Python's own zlib (every chunk CRC, the Adler-32 of the data, filter
bytes) and compares its pixels with a 24-bit bottom-up BMP of the same picture.

    bench/png_pixels.py OURS.png REFERENCE.bmp      (exit status 0: identical pixels)
"""
import struct
import sys
import zlib


def png_rows(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc, = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        assert zlib.crc32(kind + body) == crc, f"bad CRC in {kind} at {at}"
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert (depth, colour, interlace) == (8, 2, 0), "not 8-bit RGB, not interlaced"
    raw = zlib.decompress(b"".join(idat))  # checks the Adler-32
    stride = 1 + 3 * width
    assert len(raw) == stride * height
    assert all(raw[y * stride] == 0 for y in range(height)), "a row with a filter"
    return width, height, [raw[y * stride + 1:(y + 1) * stride] for y in range(height)]


def bmp_rows(path, width, height):
    data = open(path, "rb").read()
    offset, = struct.unpack("<I", data[10:14])
    bmp_width, bmp_height = struct.unpack("<ii", data[18:26])
    assert (bmp_width, abs(bmp_height)) == (width, height), "sizes differ"
    stride = (3 * width + 3) & ~3
    rows = []
    for y in range(height):
        stored = height - 1 - y if bmp_height > 0 else y
        bgr = data[offset + stored * stride:offset + stored * stride + 3 * width]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return rows


width, height, ours = png_rows(sys.argv[1])
sys.exit(0 if ours == bmp_rows(sys.argv[2], width, height) else 1)
