#!/usr/bin/env python3
"""Writes the installed icons of the Linux program from the program icon's own drawing
(make_icon.py, beside this script): desktop-icons/<size>.png for the hicolor theme's sizes, and
desktop-icons/icon.svg, the same motif as shapes. Run from anywhere: python3 make_desktop_icons.py."""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_icon  # noqa: E402  (the drawing: colour_at, render)

SIZES = (16, 24, 32, 48, 64, 128, 256)


def png(size):
    """An RGBA PNG of the motif; render() gives bottom-up BGRA rows."""
    raw = bytearray()
    for row in reversed(make_icon.render(size)):
        raw.append(0)  # filter: none
        for i in range(0, len(row), 4):
            b, g, r, a = row[i:i + 4]
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def hill(top, depth, stretch, centre, unit):
    """The filled area below y = top + depth * (stretch * (x - centre))^2 across the picture, as
    one quadratic Bezier (exact for a parabola) closed along the bottom, in `unit` coordinates."""
    def y(x):
        return top + depth * (stretch * (x - centre)) ** 2

    x0, x1 = 0.0, 1.0
    slope = 2 * depth * stretch ** 2 * (x0 - centre)
    control = ((x0 + x1) / 2, y(x0) + slope * (x1 - x0) / 2)
    p = [(x0, y(x0)), control, (x1, y(x1))]
    s = [f"{a * unit:.2f},{b * unit:.2f}" for a, b in p]
    return f"M{s[0]} Q{s[1]} {s[2]} V{unit} H0 Z"


def svg():
    """The motif of make_icon.colour_at as SVG shapes, on a 256-unit square."""
    u = 256

    def rounded(inset, radius):
        return (f'x="{inset * u:.2f}" y="{inset * u:.2f}" width="{(1 - 2 * inset) * u:.2f}" '
                f'height="{(1 - 2 * inset) * u:.2f}" rx="{radius * u:.2f}"')

    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{u}" height="{u}" viewBox="0 0 {u} {u}">
  <defs>
    <clipPath id="picture"><rect {rounded(0.11, 0.09)}/></clipPath>
    <linearGradient id="sky" gradientUnits="userSpaceOnUse" x1="0" y1="{0.11 * u:.2f}" x2="0" y2="{0.89 * u:.2f}">
      <stop offset="0" stop-color="#4088dc"/>
      <stop offset="1" stop-color="#a4d8fa"/>
    </linearGradient>
  </defs>
  <rect {rounded(0.03, 0.16)} fill="#464e60"/>
  <g clip-path="url(#picture)">
    <rect width="{u}" height="{u}" fill="url(#sky)"/>
    <circle cx="{0.68 * u:.2f}" cy="{0.33 * u:.2f}" r="{0.12 * u:.2f}" fill="#ffcc40"/>
    <path d="{hill(0.66, 0.16, 2.2, 0.30, u)}" fill="#60b260"/>
    <path d="{hill(0.78, 0.14, 2.4, 0.78, u)}" fill="#2e8b57"/>
  </g>
</svg>
"""


def main():
    out = os.path.join(HERE, "desktop-icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(out, f"{size}.png"), "wb") as f:
            f.write(png(size))
    with open(os.path.join(out, "icon.svg"), "w") as f:
        f.write(svg())


if __name__ == "__main__":
    main()
