#!/usr/bin/env python3
"""Draws the settings window's pictures: the toolbar strip and the small button and dialog icons.

Run from anywhere:  python3 make_toolbar.py [output-folder]
(the default output folder is the one holding this script). It writes:

  toolbar-32.bmp, toolbar-48.bmp, toolbar-64.bmp
      one horizontal strip per scale (100, 150, 200 %), nine square images side by side in
      TOOLBAR order; 32-bit BI_RGB, straight (not premultiplied) BGRA, bottom-up rows, for
      LoadImageW(..., LR_CREATEDIBSECTION) and ImageList_Add into an ILC_COLOR32 list.
  browse.ico, display_settings.ico     16, 20, 24, 32, 40 and 48 pixel images
  ratio.ico                            16, 32, 48 and 64 pixel images
  png/toolbar-<name>-<size>.png, png/browse-<size>.png, png/display-settings-<size>.png
      the same pictures for the Linux build.

Standard library only. Every picture is a stack of filled shapes laid out on a 32 x 32 grid
and scaled to the target size; straight edges snap to whole pixels so they stay crisp, and
each pixel averages SAMPLES x SAMPLES points for anti-aliased curves.
"""

import math
import os
import struct
import sys
import zlib

SAMPLES = 5  # per axis
GRID = 32.0  # design units per picture side

TOOLBAR_SIZES = (32, 48, 64)
BUTTON_SIZES = (16, 20, 24, 32, 40, 48)
RATIO_SIZES = (16, 32, 48, 64)

INK = (70, 80, 96)
PAPER = (255, 255, 255)
PAPER_FOLD = (214, 222, 232)
TEXT_LINE = (160, 172, 188)
SKY = (92, 164, 236)
SUN = (255, 196, 40)
HILL = (52, 160, 84)
HILL_BACK = (120, 196, 110)
FOLDER_BACK = (222, 150, 24)
FOLDER_FRONT = (255, 196, 64)
FOLDER_EDGE = (176, 112, 8)
BLUE = (32, 116, 210)
GREEN = (28, 150, 84)
PURPLE = (120, 80, 200)
ORANGE = (232, 112, 24)
SCREEN = (56, 140, 226)
GLASS = (214, 234, 252)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- shapes

class Shape:
    """A region in pixel coordinates: a bounding box and an inside test."""

    def __init__(self, box, test):
        self.box = box  # (x0, y0, x1, y1)
        self.test = test

    def contains(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 <= x <= x1 and y0 <= y <= y1 and self.test(x, y)

    def __sub__(self, other):
        return Shape(self.box, lambda x, y: self.test(x, y) and not other.contains(x, y))

    def __and__(self, other):
        return Shape(self.box, lambda x, y: self.test(x, y) and other.contains(x, y))

    def __or__(self, other):
        a, b = self.box, other.box
        box = (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))
        return Shape(box, lambda x, y: self.contains(x, y) or other.contains(x, y))


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def bezier(p0, p1, p2, p3, steps=16):
    """Points along a cubic curve, for use as a polyline."""
    points = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        points.append(tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d
                            for a, b, c, d in zip(p0, p1, p2, p3)))
    return points


class Picture:
    """One picture at one pixel size; drawing calls take design units (0..GRID)."""

    def __init__(self, size):
        self.size = size
        self.k = size / GRID
        self.layers = []

    def snap(self, v):
        return round(v * self.k)

    def width(self, w):
        """A stroke width in pixels: whole pixels, never thinner than one."""
        return max(1, round(w * self.k))

    def fill(self, shape, paint):
        """paint is an (r, g, b) or (r, g, b, a) colour, or a function of design (x, y)."""
        self.layers.append((shape, paint))

    def cut(self, shape):
        """Clears everything drawn so far inside `shape`, leaving a transparent gap."""
        self.layers.append((shape, None))

    # Primitives. Rectangles snap their edges to the pixel grid.
    def rect(self, x0, y0, x1, y1, radius=0.0):
        x0, y0, x1, y1 = self.snap(x0), self.snap(y0), self.snap(x1), self.snap(y1)
        r = radius * self.k

        def test(x, y):
            if r <= 0:
                return True
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        return Shape((x0, y0, x1, y1), test)

    def frame(self, x0, y0, x1, y1, stroke, radius=0.0):
        """The outline of a rectangle, `stroke` wide on the inside."""
        s = self.width(stroke) / self.k
        inner = max(0.0, radius - s)
        return self.rect(x0, y0, x1, y1, radius) - self.rect(x0 + s, y0 + s, x1 - s, y1 - s, inner)

    def circle(self, cx, cy, r):
        cx, cy, r = cx * self.k, cy * self.k, r * self.k
        return Shape((cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r)

    def ring(self, cx, cy, r, stroke, start=0.0, end=360.0):
        """A circle's outline centred on radius r; optionally only the arc from `start` to `end`
        degrees, counter-clockwise from 3 o'clock as seen on screen."""
        cx, cy, r, half = cx * self.k, cy * self.k, r * self.k, stroke * self.k / 2
        full = end - start >= 360

        def test(x, y):
            if abs(math.hypot(x - cx, y - cy) - r) > half:
                return False
            if full:
                return True
            a = math.degrees(math.atan2(cy - y, x - cx))
            return (a - start) % 360 <= (end - start)
        reach = r + half
        return Shape((cx - reach, cy - reach, cx + reach, cy + reach), test)

    def polygon(self, points):
        pts = [(x * self.k, y * self.k) for x, y in points]
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]

        def test(x, y):
            inside = False
            j = len(pts) - 1
            for i in range(len(pts)):
                (xi, yi), (xj, yj) = pts[i], pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    inside = not inside
                j = i
            return inside
        return Shape((min(xs), min(ys), max(xs), max(ys)), test)

    def line(self, points, stroke, round_ends=True):
        """A polyline `stroke` units wide with round joins (and round or flat ends)."""
        pts = [(x * self.k, y * self.k) for x, y in points]
        half = stroke * self.k / 2
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        (sx, sy), (tx, ty) = pts[0], pts[1]
        (ux, uy), (vx, vy) = pts[-2], pts[-1]

        def beyond_end(x, y):
            return ((x - sx) * (tx - sx) + (y - sy) * (ty - sy) < 0 or
                    (x - vx) * (ux - vx) + (y - vy) * (uy - vy) < 0)

        def test(x, y):
            near = any(segment_distance(x, y, *pts[i], *pts[i + 1]) <= half for i in range(len(pts) - 1))
            return near and (round_ends or not beyond_end(x, y))
        return Shape((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), test)

    def arrowhead(self, tip, direction, length, width):
        """A solid triangle pointing along `direction` (degrees, screen counter-clockwise)."""
        a = math.radians(direction)
        dx, dy = math.cos(a), -math.sin(a)
        bx, by = tip[0] - dx * length, tip[1] - dy * length
        return self.polygon([tip, (bx - dy * width / 2, by + dx * width / 2),
                             (bx + dy * width / 2, by - dx * width / 2)])

    # Rendering.
    def colour_at(self, x, y):
        """Straight RGBA of the stack at pixel coordinates (x, y)."""
        r = g = b = a = 0.0
        for shape, paint in self.layers:
            if not shape.contains(x, y):
                continue
            if paint is None:
                r = g = b = a = 0.0
                continue
            c = paint(x / self.k, y / self.k) if callable(paint) else paint
            sa = (c[3] if len(c) > 3 else 255) / 255.0
            out = sa + a * (1 - sa)
            if out > 0:
                r = (c[0] * sa + r * a * (1 - sa)) / out
                g = (c[1] * sa + g * a * (1 - sa)) / out
                b = (c[2] * sa + b * a * (1 - sa)) / out
            a = out
        return r, g, b, a

    def pixels(self):
        """Top-down rows of straight (r, g, b, a) byte tuples."""
        rows = []
        n = SAMPLES * SAMPLES
        offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
        for py in range(self.size):
            row = []
            for px in range(self.size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for oy in offsets:
                    for ox in offsets:
                        r, g, b, a = self.colour_at(px + ox, py + oy)
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                if acc[3] <= 0:
                    row.append((0, 0, 0, 0))
                    continue
                rgb = tuple(min(255, round(v / acc[3])) for v in acc[:3])
                row.append(rgb + (round(255 * acc[3] / n),))
            rows.append(row)
        return rows


# ---------------------------------------------------------------- shared motifs

def landscape(p, x0, y0, x1, y1, alpha=None):
    """Sky, sun and two hills filling a box. alpha(x, y) in 0..1 fades the picture."""
    w, h = x1 - x0, y1 - y0

    def fade(colour):
        if alpha is None:
            return colour
        return lambda x, y: colour + (round(255 * alpha(x, y)),)
    box = p.rect(x0, y0, x1, y1)
    p.fill(box, fade(SKY))
    p.fill(p.circle(x0 + 0.70 * w, y0 + 0.32 * h, 0.15 * min(w, h) + 0.6) & box, fade(SUN))
    p.fill(p.circle(x0 + 0.22 * w, y1 + 0.55 * h, 0.95 * h) & box, fade(HILL_BACK))
    p.fill(p.circle(x0 + 0.85 * w, y1 + 0.95 * h, 1.25 * h) & box, fade(HILL))


def sheet(p, x0, y0, x1, y1, fold=7.0):
    """A sheet of paper with a dog-eared top right corner."""
    body = p.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    s = p.width(1.5) / p.k
    inner = p.polygon([(x0 + s, y0 + s), (x1 - fold - s * 0.41, y0 + s),
                       (x1 - s, y0 + fold + s * 0.41), (x1 - s, y1 - s), (x0 + s, y1 - s)])
    p.fill(body, INK)
    p.fill(inner, PAPER)
    p.fill(p.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), INK)
    p.fill(p.polygon([(x1 - fold + s, y0 + 2 * s), (x1 - fold + s, y0 + fold - s),
                      (x1 - 2 * s, y0 + fold - s)]), PAPER_FOLD)


def folder(p, x0, y0, x1, y1):
    """A flat folder: the back with its tab, and the front panel a little lower."""
    h = y1 - y0
    tab_w, tab_h = 0.42 * (x1 - x0), max(2.0, 0.16 * h)
    r = 0.09 * h + 0.4
    p.fill(p.rect(x0, y0, x0 + tab_w, y0 + tab_h + r, r) |
           p.polygon([(x0 + tab_w - 2 * r, y0), (x0 + tab_w + 0.3 * tab_h + 1, y0 + tab_h + 0.01),
                      (x0 + tab_w - 2 * r, y0 + tab_h + 0.01)]), FOLDER_EDGE)
    p.fill(p.rect(x0, y0 + tab_h, x1, y1, r), FOLDER_EDGE)
    s = p.width(1) / p.k
    p.fill(p.rect(x0 + s, y0 + tab_h + s, x1 - s, y1 - s, max(0.0, r - s)), FOLDER_BACK)
    front_top = y0 + tab_h + max(2.0, 0.16 * h)
    p.fill(p.rect(x0 + s, front_top, x1 - s, y1 - s, max(0.0, r - s)), FOLDER_FRONT)


def monitor(p, x0, y0, x1, y1, stand_x=None):
    """A flat screen on a stand (centred unless stand_x says where); returns the screen's box."""
    stand_top = y1 - 0.24 * (y1 - y0)
    cx = (x0 + x1) / 2 if stand_x is None else stand_x
    p.fill(p.rect(cx - 2.5, stand_top - 1, cx + 2.5, y1 - 1.5), INK)
    p.fill(p.rect(cx - 6.5, y1 - 2.5, cx + 6.5, y1, 1), INK)
    p.fill(p.rect(x0, y0, x1, stand_top, 1.5), INK)
    s = p.width(2) / p.k
    return x0 + s, y0 + s, x1 - s, stand_top - s


def badge_circle(p, cx, cy, r, colour, gap=1.5):
    """A filled disc with a clear gap around it, so it stands apart from what it overlaps."""
    p.cut(p.circle(cx, cy, r + gap))
    p.fill(p.circle(cx, cy, r), colour)


def gear(p, cx, cy, r, teeth):
    """A dark gear whose teeth reach radius r, with a light hub."""
    shape = p.circle(cx, cy, r * 0.74)
    for i in range(teeth):
        a = math.radians((i + 0.5) * 360.0 / teeth)
        ex, ey = cx + math.cos(a) * r, cy - math.sin(a) * r
        shape = shape | p.line([(cx, cy), (ex, ey)], r * (2.6 / teeth), round_ends=False)
    p.fill(shape, INK)
    p.fill(p.circle(cx, cy, r * 0.32), WHITE)


def magnifier(p, cx, cy, r, stroke, handle):
    """A lens with a pale glass and a handle towards the bottom right, cut clear of what is below."""
    a = math.radians(-45)
    hx, hy = cx + math.cos(a) * r, cy - math.sin(a) * r
    ex, ey = hx + math.cos(a) * handle, hy - math.sin(a) * handle
    p.cut(p.line([(hx, hy), (ex, ey)], stroke * 1.5 + 2.4) | p.circle(cx, cy, r + stroke / 2 + 1.4))
    p.fill(p.line([(hx, hy), (ex, ey)], stroke * 1.5), INK)
    p.fill(p.circle(cx, cy, r), GLASS)
    p.fill(p.ring(cx, cy, r, stroke), INK)


# ---------------------------------------------------------------- toolbar pictures

def draw_file(p):
    """A sheet of paper holding a photo."""
    sheet(p, 5, 2, 27, 30)
    landscape(p, 8.5, 13, 23.5, 26)


def draw_folder(p):
    """One folder."""
    folder(p, 2, 5, 30, 27)


def draw_subfolders(p):
    """A folder with two folders branching off below it."""
    p.fill(p.rect(5, 10, 7, 27.5) | p.rect(5, 15.5, 13, 17.5) | p.rect(5, 25.5, 13, 27.5), INK)
    folder(p, 1, 1, 17, 11)
    folder(p, 12, 12, 31, 21)
    folder(p, 12, 22.5, 31, 31.5)


def draw_random(p):
    """Two crossing arrows, the one behind broken where they cross."""
    w = 3.0
    upper = bezier((3, 10), (12, 10), (15, 23), (24, 23))
    lower = bezier((3, 23), (12, 23), (15, 10), (24, 10))
    crossing = p.line(lower, w + 3) & p.rect(10, 3, 22, 30)
    p.fill(p.line(upper, w) - crossing, PURPLE)
    p.fill(p.arrowhead((31, 23), 0, 8, 9), PURPLE)
    p.fill(p.line(lower, w), PURPLE)
    p.fill(p.arrowhead((31, 10), 0, 8, 9), PURPLE)


def draw_repeats(p):
    """Two arrows chasing each other round a circle."""
    r, w = 10.0, 3.2
    p.fill(p.ring(16, 16, r, w, 20, 150), GREEN)
    p.fill(p.ring(16, 16, r, w, 200, 330), GREEN)
    for end in (150, 330):  # each arc ends in a head pointing on round the circle
        tip_a = math.radians(end + 28)
        tip = (16 + math.cos(tip_a) * r, 16 - math.sin(tip_a) * r)
        p.fill(p.arrowhead(tip, end + 90 + 14, 8.5, 9.5), GREEN)


def draw_fadeout(p):
    """A framed photo fading away to the right."""
    def alpha(x, y):
        return max(0.0, min(1.0, 1.08 - (x - 4) / 24))
    landscape(p, 4, 6, 28, 26, alpha)
    p.fill(p.frame(3, 5, 29, 27, 1.5), lambda x, y: INK + (round(255 * max(0.18, alpha(x, y))),))


def draw_makefile(p):
    """A written page with a plus."""
    sheet(p, 4, 2, 24, 28)
    for y, x1 in ((12, 19), (16, 20), (20, 14)):
        p.fill(p.rect(8, y, x1, y + 1.5), TEXT_LINE)
    badge_circle(p, 23, 23, 7.5, GREEN)
    p.fill(p.rect(22, 18.5, 24, 27.5) | p.rect(18.5, 22, 27.5, 24), WHITE)


def draw_startup(p):
    """The power symbol on an orange disc."""
    p.fill(p.circle(16, 16, 14.5), ORANGE)
    p.fill(p.ring(16, 17, 7.2, 2.8, 125 - 360, 55), WHITE)
    p.fill(p.line([(16, 7.5), (16, 16)], 2.8), WHITE)


def draw_about(p):
    """An "i" on a blue disc."""
    p.fill(p.circle(16, 16, 14.5), BLUE)
    p.fill(p.circle(16, 9.5, 2.1), WHITE)
    p.fill(p.rect(14.4, 13.5, 17.6, 24, 0.4), WHITE)
    p.fill(p.rect(12.5, 13.5, 17.6, 15, 0.3) | p.rect(12.5, 22.5, 19.5, 24, 0.3), WHITE)


TOOLBAR = (("file", draw_file), ("folder", draw_folder), ("subfolders", draw_subfolders),
           ("random", draw_random), ("repeats", draw_repeats), ("fadeout", draw_fadeout),
           ("makefile", draw_makefile), ("startup", draw_startup), ("about", draw_about))


# ---------------------------------------------------------------- button and dialog icons

def draw_browse(p):
    """A folder with a magnifying glass, for picking a folder."""
    if p.size <= 24:  # small: a bigger lens so it still reads
        folder(p, 0, 3, 26, 24)
        magnifier(p, 19, 19, 6.5, 3.4, 6)
    else:
        folder(p, 1, 4, 28, 26)
        magnifier(p, 21, 20, 5.5, 2.4, 6)


def draw_display_settings(p):
    """A monitor with a gear, for the display-mode settings."""
    x0, y0, x1, y1 = monitor(p, 0, 2, 28, 26, stand_x=9)  # the stand clear of the gear
    p.fill(p.rect(x0, y0, x1, y1), SCREEN)
    if p.size <= 24:
        p.cut(p.circle(23, 23, 10.5))
        gear(p, 23, 23, 8.8, 6)
    else:
        p.cut(p.circle(24, 23, 9))
        gear(p, 24, 23, 7.5, 8)


def draw_ratio(p):
    """A monitor showing a 4:3 frame: the display-mode dialog's own icon."""
    x0, y0, x1, y1 = monitor(p, 1, 3, 31, 28)
    p.fill(p.rect(x0, y0, x1, y1), SCREEN)
    # A 4:3 frame with corner marks, centred on the screen.
    w, h = 16.0, 12.0
    fx0, fy0 = (x0 + x1 - w) / 2, (y0 + y1 - h) / 2
    fx1, fy1 = fx0 + w, fy0 + h
    s, arm = 2.0, 5.0
    marks = (p.rect(fx0, fy0, fx0 + arm, fy0 + s) | p.rect(fx0, fy0, fx0 + s, fy0 + arm) |
             p.rect(fx1 - arm, fy0, fx1, fy0 + s) | p.rect(fx1 - s, fy0, fx1, fy0 + arm) |
             p.rect(fx0, fy1 - s, fx0 + arm, fy1) | p.rect(fx0, fy1 - arm, fx0 + s, fy1) |
             p.rect(fx1 - arm, fy1 - s, fx1, fy1) | p.rect(fx1 - s, fy1 - arm, fx1, fy1))
    p.fill(marks, WHITE)
    p.fill(p.rect(fx0 + 4, fy0 + 4, fx1 - 4, fy1 - 4), (255, 255, 255, 110))


# ---------------------------------------------------------------- file formats

def render(draw, size):
    p = Picture(size)
    draw(p)
    return p.pixels()


def bgra_bottom_up(rows):
    return b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows))


def bmp(rows):
    """32-bit BI_RGB bitmap, straight alpha, bottom-up, BITMAPINFOHEADER."""
    height, width = len(rows), len(rows[0])
    pixels = bgra_bottom_up(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """images: (size, rows) pairs; each stored as a 32-bit DIB with its AND mask."""
    entries, blobs = [], []
    for size, rows in images:
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(stride)
            for x, px in enumerate(row):
                if px[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + bgra_bottom_up(rows) + bytes(mask))
        entries.append(size)
    data = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(entries, blobs):
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return data + b"".join(blobs)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    png_dir = os.path.join(out, "png")
    os.makedirs(png_dir, exist_ok=True)
    for size in TOOLBAR_SIZES:
        strip = [[] for _ in range(size)]
        for name, draw in TOOLBAR:
            rows = render(draw, size)
            write(os.path.join(png_dir, f"toolbar-{name}-{size}.png"), png(rows))
            for y in range(size):
                strip[y] += rows[y]
        write(os.path.join(out, f"toolbar-{size}.bmp"), bmp(strip))
    for name, png_name, draw, sizes in (("browse", "browse", draw_browse, BUTTON_SIZES),
                                        ("display_settings", "display-settings", draw_display_settings,
                                         BUTTON_SIZES),
                                        ("ratio", None, draw_ratio, RATIO_SIZES)):
        images = [(size, render(draw, size)) for size in sizes]
        write(os.path.join(out, f"{name}.ico"), ico(images))
        if png_name:
            for size, rows in images:
                write(os.path.join(png_dir, f"{png_name}-{size}.png"), png(rows))


if __name__ == "__main__":
    main()
